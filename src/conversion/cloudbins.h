#pragma once
// CloudBins: square x-y bins over a point cloud, the neighbour index of the undercut
// removal and blanking-outline tracer.
//
// Inputs: for every point its 1-based bin column and row (the caller decides how a
//   coordinate maps to a bin) and the lattice size ncols x nrows.
// Output: the points of each bin as indices into the caller's point list, in
//   ascending index order (file order), and the occupied bins in row-major order
//   (rows from 1 upwards, within a row columns from 1 upwards).
// Storage is compact: one index array for all points plus per-bin offsets, so a
//   crowded bin costs nothing for the others. A lattice that is small next to the
//   cloud keeps a dense offset table (constant-time lookups); a lattice made huge by
//   a stray point far from the rest keeps only its occupied bins, found through a
//   hash map, so memory stays in proportion to the points.
// A dense table is filled on several threads (a counting sort per share of the points,
//   the shares then placed in index order), so the bins are those of one thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace trelvik::conversion {

class CloudBins {
public:
    // col[i], row[i] in 1..ncols, 1..nrows. Throws trelvik::Error when the lattice
    // has more than 2^31 columns or rows, or a point lies outside it.
    CloudBins(const std::vector<std::int64_t>& col, const std::vector<std::int64_t>& row, std::int64_t ncols,
              std::int64_t nrows);
    // The same from each point's bin key (keyOf), which the caller has made within the
    // lattice, after checkLattice(ncols, nrows, key.size()).
    CloudBins(std::span<const std::uint64_t> key, std::int64_t ncols, std::int64_t nrows);
    // Throws the errors of the constructor for the lattice size and the point count, so
    // that a caller may check them before making keys.
    static void checkLattice(std::int64_t ncols, std::int64_t nrows, std::size_t points);

    // The key of bin (col, row) of a lattice ncols wide: (row - 1) * ncols + (col - 1).
    static std::uint64_t keyOf(std::int64_t col, std::int64_t row, std::int64_t ncols) {
        return static_cast<std::uint64_t>(row - 1) * static_cast<std::uint64_t>(ncols) +
               static_cast<std::uint64_t>(col - 1);
    }

    std::int64_t ncols() const { return ncols_; }
    std::int64_t nrows() const { return nrows_; }

    // Points of bin (col, row) in index order; empty outside the lattice or when empty.
    // Inline for the dense table: the searches of millions of points ask it for every
    // bin around each point.
    std::span<const std::uint32_t> at(std::int64_t col, std::int64_t row) const {
        if (col < 1 || row < 1 || col > ncols_ || row > nrows_) return {};
        const std::uint64_t k = keyOf(col, row, ncols_);
        if (!denseStart_.empty()) return {index_.get() + denseStart_[k], denseStart_[k + 1] - denseStart_[k]};
        return sparseAt(k);
    }
    std::size_t count(std::int64_t col, std::int64_t row) const { return at(col, row).size(); }

    // Occupied bins in row-major order.
    std::size_t occupied() const { return occKey_.size(); }
    std::int64_t occupiedCol(std::size_t k) const { return static_cast<std::int64_t>(occKey_[k] % ncolsU()) + 1; }
    std::int64_t occupiedRow(std::size_t k) const { return static_cast<std::int64_t>(occKey_[k] / ncolsU()) + 1; }
    std::span<const std::uint32_t> occupiedPoints(std::size_t k) const {
        return {index_.get() + occStart_[k], occStart_[k + 1] - occStart_[k]};
    }
    // Every point, bin after bin in row-major order: the occupied bins' points one after
    // another. A bin's points (at, occupiedPoints) are a part of it.
    std::span<const std::uint32_t> all() const { return {index_.get(), size_}; }

    // True when the lattice keeps a dense table (every bin addressable in O(1)).
    bool dense() const { return !denseStart_.empty(); }

private:
    void build(std::span<const std::uint64_t> key);
    std::span<const std::uint32_t> sparseAt(std::uint64_t key) const;
    std::uint64_t ncolsU() const { return static_cast<std::uint64_t>(ncols_); }
    std::int64_t ncols_ = 0, nrows_ = 0;
    std::size_t size_ = 0;
    std::unique_ptr<std::uint32_t[]> index_;  // point indices, grouped by bin
    std::vector<std::uint64_t> occKey_;      // (row-1)*ncols + (col-1) of each occupied bin
    std::vector<std::size_t> occStart_;      // occupied bin k holds index_[occStart_[k]..occStart_[k+1])
    std::vector<std::uint32_t> denseStart_;  // dense: bin key -> start in index_, size cells + 1
    std::unordered_map<std::uint64_t, std::uint32_t> sparse_;  // sparse: bin key -> occupied k
};

} // namespace trelvik::conversion

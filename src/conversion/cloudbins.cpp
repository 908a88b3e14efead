#include "conversion/cloudbins.h"

#include "core/error.h"
#include "core/parallelblocks.h"

#include <algorithm>
#include <atomic>
#include <numeric>

namespace trelvik::conversion {

namespace {

constexpr std::int64_t kMaxSide = std::int64_t{1} << 31;
// Points a thread takes at a time when making keys, and the fewest a share of the
// counting sort is given.
constexpr std::size_t kPointBlock = std::size_t{1} << 16;
// Bins a thread takes at a time when adding up the shares' counts.
constexpr std::size_t kBinBlock = std::size_t{1} << 14;
constexpr std::size_t kMostShares = 16;

} // namespace

void CloudBins::checkLattice(std::int64_t ncols, std::int64_t nrows, std::size_t points) {
    if (ncols < 1 || nrows < 1 || ncols > kMaxSide || nrows > kMaxSide)
        throw Error("The point cloud spans too many bins (" + std::to_string(ncols) + " x " + std::to_string(nrows) +
                    "); increase the bin size or remove stray points far from the rest.");
    if (points > 0xFFFFFFFFu) throw Error("The point cloud has too many points for one run.");
}

CloudBins::CloudBins(const std::vector<std::int64_t>& col, const std::vector<std::int64_t>& row, std::int64_t ncols,
                     std::int64_t nrows)
    : ncols_(ncols), nrows_(nrows) {
    checkLattice(ncols, nrows, col.size());
    const std::size_t n = col.size();
    const auto key = std::make_unique_for_overwrite<std::uint64_t[]>(n);
    // The point named is the first outside in index order, whichever thread finds it.
    std::atomic<std::size_t> outside{n};
    forEachBlock(n, kPointBlock, [&](std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            if (col[i] < 1 || col[i] > ncols || row[i] < 1 || row[i] > nrows) {
                lowerTo(outside, i);
                return;
            }
            key[i] = keyOf(col[i], row[i], ncols);
        }
    });
    if (outside.load() < n) throw Error("Point " + std::to_string(outside.load() + 1) + " lies outside its bin lattice.");
    build({key.get(), n});
}

CloudBins::CloudBins(std::span<const std::uint64_t> key, std::int64_t ncols, std::int64_t nrows)
    : ncols_(ncols), nrows_(nrows) {
    checkLattice(ncols, nrows, key.size());
    build(key);
}

void CloudBins::build(std::span<const std::uint64_t> key) {
    const std::size_t n = key.size();
    size_ = n;
    index_ = std::make_unique_for_overwrite<std::uint32_t[]>(n);
    const std::uint64_t cells = static_cast<std::uint64_t>(ncols_) * static_cast<std::uint64_t>(nrows_);
    const std::uint64_t denseLimit = std::max<std::uint64_t>(4 * static_cast<std::uint64_t>(n), 1u << 22);
    if (cells <= denseLimit) {
        // Counting sort: stable, so each bin lists its points in index order. Each share
        // of the points counts its bins and is then placed after the earlier shares'
        // points of the same bin, which is where one pass would place it. The shares'
        // counts are kept to twice the points, so a fine lattice is sorted in one share.
        const std::size_t cellCount = static_cast<std::size_t>(cells);
        denseStart_.assign(cellCount + 1, 0);
        const std::size_t shares =
            std::min({kMostShares, n / kPointBlock, static_cast<std::size_t>(2 * static_cast<std::uint64_t>(n) / cells)});
        if (shares <= 1) {
            for (std::size_t i = 0; i < n; ++i) ++denseStart_[key[i] + 1];
            for (std::size_t c = 0; c < cellCount; ++c) denseStart_[c + 1] += denseStart_[c];
            std::vector<std::uint32_t> fill(denseStart_.begin(), denseStart_.end() - 1);
            for (std::size_t i = 0; i < n; ++i) index_[fill[key[i]]++] = static_cast<std::uint32_t>(i);
        } else {
            const std::size_t per = (n + shares - 1) / shares;
            const auto at = std::make_unique_for_overwrite<std::uint32_t[]>(shares * cellCount);
            forEachBlock(shares, 1, [&](std::size_t s0, std::size_t s1) {
                for (std::size_t s = s0; s < s1; ++s) {
                    std::uint32_t* count = at.get() + s * cellCount;
                    std::fill(count, count + cellCount, 0u);
                    for (std::size_t i = s * per; i < std::min(n, (s + 1) * per); ++i) ++count[key[i]];
                }
            });
            forEachBlock(cellCount, kBinBlock, [&](std::size_t c0, std::size_t c1) {
                for (std::size_t s = 0; s < shares; ++s) {
                    const std::uint32_t* count = at.get() + s * cellCount;
                    for (std::size_t c = c0; c < c1; ++c) denseStart_[c + 1] += count[c];
                }
            });
            for (std::size_t c = 0; c < cellCount; ++c) denseStart_[c + 1] += denseStart_[c];
            // Each share's count becomes where its first point of the bin goes.
            forEachBlock(cellCount, kBinBlock, [&](std::size_t c0, std::size_t c1) {
                std::vector<std::uint32_t> next(denseStart_.begin() + static_cast<std::ptrdiff_t>(c0),
                                                denseStart_.begin() + static_cast<std::ptrdiff_t>(c1));
                for (std::size_t s = 0; s < shares; ++s) {
                    std::uint32_t* count = at.get() + s * cellCount;
                    for (std::size_t c = c0; c < c1; ++c) {
                        const std::uint32_t here = count[c];
                        count[c] = next[c - c0];
                        next[c - c0] += here;
                    }
                }
            });
            forEachBlock(shares, 1, [&](std::size_t s0, std::size_t s1) {
                for (std::size_t s = s0; s < s1; ++s) {
                    std::uint32_t* place = at.get() + s * cellCount;
                    for (std::size_t i = s * per; i < std::min(n, (s + 1) * per); ++i)
                        index_[place[key[i]]++] = static_cast<std::uint32_t>(i);
                }
            });
        }
        for (std::size_t c = 0; c < cellCount; ++c) {
            if (denseStart_[c + 1] > denseStart_[c]) {
                occKey_.push_back(c);
                occStart_.push_back(denseStart_[c]);
            }
        }
    } else {
        std::iota(index_.get(), index_.get() + n, 0u);
        std::sort(index_.get(), index_.get() + n, [&](std::uint32_t a, std::uint32_t b) {
            return key[a] != key[b] ? key[a] < key[b] : a < b;
        });
        for (std::size_t k = 0; k < n; ++k) {
            const std::uint64_t kk = key[index_[k]];
            if (occKey_.empty() || occKey_.back() != kk) {
                sparse_.emplace(kk, static_cast<std::uint32_t>(occKey_.size()));
                occKey_.push_back(kk);
                occStart_.push_back(k);
            }
        }
    }
    occStart_.push_back(n);
}

std::span<const std::uint32_t> CloudBins::sparseAt(std::uint64_t key) const {
    const auto it = sparse_.find(key);
    if (it == sparse_.end()) return {};
    return occupiedPoints(it->second);
}

} // namespace trelvik::conversion

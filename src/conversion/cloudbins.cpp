#include "conversion/cloudbins.h"

#include "core/error.h"

#include <algorithm>
#include <numeric>

namespace trelvik::conversion {

namespace {
constexpr std::int64_t kMaxSide = std::int64_t{1} << 31;
}

CloudBins::CloudBins(const std::vector<std::int64_t>& col, const std::vector<std::int64_t>& row, std::int64_t ncols,
                     std::int64_t nrows)
    : ncols_(ncols), nrows_(nrows) {
    if (ncols < 1 || nrows < 1 || ncols > kMaxSide || nrows > kMaxSide)
        throw Error("The point cloud spans too many bins (" + std::to_string(ncols) + " x " + std::to_string(nrows) +
                    "); increase the bin size or remove stray points far from the rest.");
    const std::size_t n = col.size();
    if (n > 0xFFFFFFFFu) throw Error("The point cloud has too many points for one run.");
    std::vector<std::uint64_t> key(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (col[i] < 1 || col[i] > ncols || row[i] < 1 || row[i] > nrows)
            throw Error("Point " + std::to_string(i + 1) + " lies outside its bin lattice.");
        key[i] = static_cast<std::uint64_t>(row[i] - 1) * static_cast<std::uint64_t>(ncols) +
                 static_cast<std::uint64_t>(col[i] - 1);
    }
    const std::uint64_t cells = static_cast<std::uint64_t>(ncols) * static_cast<std::uint64_t>(nrows);
    const std::uint64_t denseLimit = std::max<std::uint64_t>(4 * static_cast<std::uint64_t>(n), 1u << 22);
    index_.resize(n);
    if (cells <= denseLimit) {
        // Counting sort: stable, so each bin lists its points in index order.
        denseStart_.assign(cells + 1, 0);
        for (std::size_t i = 0; i < n; ++i) ++denseStart_[key[i] + 1];
        for (std::uint64_t c = 0; c < cells; ++c) denseStart_[c + 1] += denseStart_[c];
        std::vector<std::uint32_t> fill(denseStart_.begin(), denseStart_.end() - 1);
        for (std::size_t i = 0; i < n; ++i) index_[fill[key[i]]++] = static_cast<std::uint32_t>(i);
        for (std::uint64_t c = 0; c < cells; ++c) {
            if (denseStart_[c + 1] > denseStart_[c]) {
                occKey_.push_back(c);
                occStart_.push_back(denseStart_[c]);
            }
        }
    } else {
        std::iota(index_.begin(), index_.end(), 0u);
        std::sort(index_.begin(), index_.end(), [&](std::uint32_t a, std::uint32_t b) {
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

std::span<const std::uint32_t> CloudBins::at(std::int64_t col, std::int64_t row) const {
    if (col < 1 || row < 1 || col > ncols_ || row > nrows_) return {};
    const std::uint64_t k = static_cast<std::uint64_t>(row - 1) * ncolsU() + static_cast<std::uint64_t>(col - 1);
    if (!denseStart_.empty()) return {index_.data() + denseStart_[k], denseStart_[k + 1] - denseStart_[k]};
    const auto it = sparse_.find(k);
    if (it == sparse_.end()) return {};
    return occupiedPoints(it->second);
}

} // namespace trelvik::conversion

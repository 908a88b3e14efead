#include "formats/pointtextblocks.h"

#include "core/error.h"
#include "core/parallelblocks.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>

namespace trelvik::formats::blocks {

namespace {

// Cuts of a text of `size` bytes into blocks of blockBytes and on to just after the next
// line feed, which afterLineFeed(pos) finds at or after pos (the size when there is none).
template <class AfterLineFeed>
std::vector<std::size_t> cutsOf(std::size_t size, std::size_t blockBytes, AfterLineFeed&& afterLineFeed) {
    blockBytes = std::max<std::size_t>(blockBytes, 1);
    std::vector<std::size_t> cuts{0};
    while (size - cuts.back() > blockBytes) {
        const std::size_t cut = afterLineFeed(cuts.back() + blockBytes - 1);
        if (cut >= size) break;
        cuts.push_back(cut);
    }
    cuts.push_back(size);
    return cuts;
}

} // namespace

TextBlocks::TextBlocks(std::string_view text, std::size_t blockBytes) : text_(text) {
    cuts_ = cutsOf(text.size(), blockBytes, [text](std::size_t from) {
        const void* lf = std::memchr(text.data() + from, '\n', text.size() - from);
        return lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) + 1 : text.size();
    });
}

TextBlocks::TextBlocks(const InputFile& file, const std::string& path, std::size_t blockBytes)
    : file_(std::in_place, file.fd(), static_cast<std::size_t>(file.size()), path) {
    // The cuts are found by reading a little at each, not the whole file first.
    cuts_ = cutsOf(file_->size(), blockBytes, [this](std::size_t from) { return file_->afterLineFeed(from); });
}

void FileRanges::read(std::size_t pos, char* out, std::size_t len) const {
    while (len > 0) {
        const ssize_t got = ::pread(fd_, out, len, static_cast<off_t>(pos));
        if (got < 0 && errno == EINTR) continue;
        // A file cut short while it is read ends too soon.
        if (got <= 0) throw Error("Cannot read \"" + path_ + "\"");
        out += got;
        pos += static_cast<std::size_t>(got);
        len -= static_cast<std::size_t>(got);
    }
}

std::size_t FileRanges::afterLineFeed(std::size_t pos) const {
    char window[1 << 14];
    while (pos < size_) {
        const std::size_t len = std::min(sizeof window, size_ - pos);
        read(pos, window, len);
        if (const void* lf = std::memchr(window, '\n', len))
            return pos + static_cast<std::size_t>(static_cast<const char*>(lf) - window) + 1;
        pos += len;
    }
    return size_;
}

void TextBlocks::forEach(const std::function<bool(std::size_t, std::string_view)>& parse) const {
    // The first refused block in file order settles the outcome, so a block after one
    // already refused is not worth parsing; one before it still is.
    std::atomic<std::size_t> firstRefused{count()};
    forEachBlock(count(), 1, [&](std::size_t k0, std::size_t k1) {
        for (std::size_t k = k0; k < k1; ++k) {
            if (k > firstRefused.load(std::memory_order_relaxed)) continue;
            const std::size_t len = cuts_[k + 1] - cuts_[k];
            bool accepted;
            if (!file_) {
                accepted = parse(k, text_.substr(cuts_[k], len));
            } else {
                const auto buffer = std::make_unique_for_overwrite<char[]>(len);  // read over at once
                file_->read(cuts_[k], buffer.get(), len);
                accepted = parse(k, {buffer.get(), len});
            }
            if (!accepted) lowerTo(firstRefused, k);
        }
    });
}

} // namespace trelvik::formats::blocks

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

TextBlocks::TextBlocks(std::string_view text, std::size_t blockBytes) : text_(text) {
    blockBytes = std::max<std::size_t>(blockBytes, 1);
    const std::size_t size = text.size();
    cuts_.push_back(0);
    while (size - cuts_.back() > blockBytes) {
        const std::size_t from = cuts_.back() + blockBytes - 1;
        const void* lf = std::memchr(text.data() + from, '\n', size - from);
        if (!lf) break;
        const std::size_t cut = static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) + 1;
        if (cut >= size) break;
        cuts_.push_back(cut);
    }
    cuts_.push_back(size);
}

TextBlocks::TextBlocks(const InputFile& file, const std::string& path, std::size_t blockBytes)
    : file_(std::in_place, file.fd(), static_cast<std::size_t>(file.size()), path) {
    blockBytes = std::max<std::size_t>(blockBytes, 1);
    const std::size_t size = file_->size();
    // The cuts are found by reading a little at each, not the whole file first.
    cuts_.push_back(0);
    while (size - cuts_.back() > blockBytes) {
        const std::size_t cut = file_->afterLineFeed(cuts_.back() + blockBytes - 1);
        if (cut >= size) break;
        cuts_.push_back(cut);
    }
    cuts_.push_back(size);
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

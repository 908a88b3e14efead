#pragma once
// A text file written in large blocks: callers format numbers straight into the block
// (room(n) gives a pointer with n characters free), the block goes to the file each time
// it fills, so a writer of a grid never holds more than one block of its output. The
// file replaces its target only at commit() (core/fileroutines.h AtomicTextWriter), or
// together with another at commitTogether(); a writer dropped without commit leaves the
// old file as it was.
#include "core/commit/commit.h"
#include "core/fileroutines.h"

#include <cstring>
#include <string>
#include <string_view>

namespace trelvik::formats {

class ChunkWriter {
public:
    explicit ChunkWriter(const std::string& path) : file_(path), buf_(kBlock + kSlack, '\0'), p_(buf_.data()) {}

    // A pointer with at least n characters free; advance with done(end).
    char* room(std::size_t n) {
        if (static_cast<std::size_t>(p_ - buf_.data()) + n > buf_.size()) {
            flush();
            if (n > buf_.size()) {
                buf_.resize(n);
                p_ = buf_.data();
            }
        }
        return p_;
    }
    void done(char* end) {
        p_ = end;
        if (static_cast<std::size_t>(p_ - buf_.data()) >= kBlock) flush();
    }
    void put(std::string_view s) {
        if (s.size() >= kBlock) {  // a large piece goes to the file as it stands
            flush();
            file_.write(s);
            return;
        }
        char* q = room(s.size());
        std::memcpy(q, s.data(), s.size());
        done(q + s.size());
    }
    // s followed by CR LF.
    void line(std::string_view s) {
        char* q = room(s.size() + 2);
        std::memcpy(q, s.data(), s.size());
        q += s.size();
        *q++ = '\r';
        *q++ = '\n';
        done(q);
    }
    void commit() {
        flush();
        file_.commit();
    }
    // Complete on disk but not yet in place (see commitTogether).
    void finish() {
        flush();
        file_.finish();
    }

private:
    friend void commitTogether(ChunkWriter& first, ChunkWriter& second);
    static constexpr std::size_t kBlock = 1 << 20;
    static constexpr std::size_t kSlack = 1 << 16;
    void flush() {
        if (p_ == buf_.data()) return;
        file_.write({buf_.data(), static_cast<std::size_t>(p_ - buf_.data())});
        p_ = buf_.data();
    }
    AtomicTextWriter file_;
    std::string buf_;
    char* p_;
};

// Two files that belong together replace their old pair only when both are complete
// (core/fileroutines.h commitTogether).
inline void commitTogether(ChunkWriter& first, ChunkWriter& second) {
    first.flush();
    second.flush();
    trelvik::commitTogether(first.file_, second.file_);
}

} // namespace trelvik::formats

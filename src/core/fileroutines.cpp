#include "core/fileroutines.h"

#include "core/error.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace trelvik {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::string tempNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

// Carries a failure of ConvertLineEnds with its description and number.
struct CopyFailure {
    std::string description;
    int number;
};

}  // namespace

bool DirExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_directory(fs::path(path), ec);
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    const fs::file_status st = fs::status(fs::path(path), ec);
    if (ec) return false;
    return fs::exists(st) && !fs::is_directory(st);
}

std::string readWholeFile(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) throw Error("Cannot read \"" + path + "\": it is a folder");
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw Error("Cannot open \"" + path + "\": " + std::strerror(errno));
    // Read straight into the result: large grids are tens of megabytes, and a copy
    // through a staging buffer costs as much again. The size is only a first guess
    // (the file may grow or shrink while it is read), so read on until the end.
    std::string data;
    const auto size = fs::file_size(path, ec);
    std::size_t have = 0;
    data.resize(ec ? kBufferSize : static_cast<std::size_t>(size) + 1);
    for (;;) {
        if (have == data.size()) data.resize(data.size() + kBufferSize);
        const std::size_t got = std::fread(data.data() + have, 1, data.size() - have, f);
        have += got;
        if (got == 0 || std::feof(f) || std::ferror(f)) break;
    }
    data.resize(have);
    const bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) throw Error("Cannot read \"" + path + "\"");
    return data;
}

AtomicTextWriter::AtomicTextWriter(std::string path) : path_(std::move(path)), temp_(tempNameFor(path_)) {
    file_ = std::fopen(temp_.c_str(), "wb");
    if (!file_) throw Error("Cannot write \"" + path_ + "\": " + std::strerror(errno));
    buffer_.reserve(kBufferSize);
}

AtomicTextWriter::~AtomicTextWriter() {
    if (file_) std::fclose(file_);
    if (!committed_) {
        std::error_code ec;
        fs::remove(temp_, ec);
    }
}

void AtomicTextWriter::fail(const std::string& what) {
    const std::string reason = std::strerror(errno);
    if (file_) std::fclose(file_);
    file_ = nullptr;
    std::error_code ec;
    fs::remove(temp_, ec);
    throw Error("Cannot write \"" + path_ + "\" (" + what + "): " + reason);
}

void AtomicTextWriter::write(std::string_view text) {
    if (!file_) throw Error("Cannot write \"" + path_ + "\": the file is already closed");
    if (buffer_.size() + text.size() > kBufferSize) {
        if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            fail("write");
        buffer_.clear();
        if (text.size() > kBufferSize) {
            if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) fail("write");
            return;
        }
    }
    buffer_.append(text);
}

void AtomicTextWriter::line(std::string_view text) {
    write(text);
    write(kCRLF);
}

void AtomicTextWriter::commit() {
    if (!file_) throw Error("Cannot write \"" + path_ + "\": the file is already closed");
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) fail("write");
    buffer_.clear();
    if (std::fflush(file_) != 0) fail("flush");
    if (std::fclose(file_) != 0) {
        file_ = nullptr;
        fail("close");
    }
    file_ = nullptr;
    std::error_code ec;
    fs::rename(temp_, path_, ec);
    if (ec) {
        fs::remove(temp_, ec);
        throw Error("Cannot replace \"" + path_ + "\": " + ec.message());
    }
    committed_ = true;
}

void writeFileAtomic(const std::string& path, std::string_view content) {
    AtomicTextWriter w(path);
    w.write(content);
    w.commit();
}

bool ConvertLineEnds(const std::string& inFile, const std::string& outFile, long toCRLF, bool deleteInput,
                     Prompt& prompt) {
    try {
        std::string data;
        try {
            if (!FileExists(inFile)) throw CopyFailure{"File not found: \"" + inFile + "\"", 53};
            data = readWholeFile(inFile);
        } catch (const Error& e) {
            throw CopyFailure{e.what(), 75};
        }
        const std::string_view end = toCRLF != 0 ? std::string_view("\r\n") : std::string_view("\n");
        std::string out;
        out.reserve(data.size() + data.size() / 16 + 2);
        std::size_t start = 0;
        const std::size_t n = data.size();
        while (start < n) {
            std::size_t i = start;
            while (i < n && data[i] != '\r' && data[i] != '\n') ++i;
            out.append(data, start, i - start);
            out += end;
            if (i < n && data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') i += 2;
            else if (i < n) i += 1;
            start = i;
        }
        try {
            writeFileAtomic(outFile, out);
        } catch (const Error& e) {
            throw CopyFailure{e.what(), 75};
        }
        // Converting a file onto itself leaves only the result; deleting the "input" then
        // would delete the result too.
        std::error_code same;
        if (deleteInput && !fs::equivalent(inFile, outFile, same)) {
            std::error_code ec;
            if (!fs::remove(inFile, ec) || ec)
                throw CopyFailure{"Cannot delete \"" + inFile + "\"" + (ec ? ": " + ec.message() : ""), 75};
        }
        return true;
    } catch (const CopyFailure& f) {
        prompt.message("", "Error: " + f.description + "\nNumber: " + std::to_string(f.number));
        return false;
    }
}

} // namespace trelvik

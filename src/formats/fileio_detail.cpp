#include "formats/fileio_detail.h"

#include "core/error.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace trelvik::formats::detail {

namespace {

std::string reason() { return std::strerror(errno); }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr openForReading(const std::string& path, const char* what) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw Error(std::string("Cannot read the ") + what + " " + path + ": it is a folder.");
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) throw Error(std::string("Cannot open the ") + what + " " + path + ": " + reason() + ".");
    return f;
}

std::string tempNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".part" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

} // namespace

std::string readWholeFileOrThrow(const std::string& path, const char* what) {
    FilePtr f = openForReading(path, what);
    std::string data;
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    if (!ec) data.reserve(static_cast<std::size_t>(size));
    std::string chunk(1 << 20, '\0');
    for (;;) {
        std::size_t got = std::fread(chunk.data(), 1, chunk.size(), f.get());
        data.append(chunk.data(), got);
        if (got < chunk.size()) break;
    }
    if (std::ferror(f.get())) throw Error(std::string("Cannot read the ") + what + " " + path + ": " + reason() + ".");
    return data;
}

std::string readFilePrefix(const std::string& path, std::size_t n, const char* what) {
    FilePtr f = openForReading(path, what);
    std::string data(n, '\0');
    data.resize(std::fread(data.data(), 1, n, f.get()));
    return data;
}

void replaceFile(const std::string& path, std::string_view bytes, const char* what) {
    ReplacingWriter w(path, what);
    w.write(bytes);
    w.commit();
}

ReplacingWriter::ReplacingWriter(const std::string& path, const char* what)
    : path_(path), temp_(tempNameFor(path)), what_(what) {
    file_ = std::fopen(temp_.c_str(), "wb");
    if (!file_) throw Error("Cannot write the " + what_ + " " + path_ + ": " + reason() + ".");
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
}

ReplacingWriter::~ReplacingWriter() {
    if (file_) {
        std::fclose(file_);
        std::remove(temp_.c_str());
    }
}

void ReplacingWriter::write(std::string_view bytes) {
    if (bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        throw Error("Cannot write the " + what_ + " " + path_ + ": " + reason() + ".");
}

void ReplacingWriter::commit() {
    std::FILE* f = file_;
    file_ = nullptr;
    bool ok = std::fflush(f) == 0;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) {
        std::error_code ec;
        if (std::filesystem::is_directory(path_, ec)) {
            std::remove(temp_.c_str());
            throw Error("Cannot write the " + what_ + " " + path_ + ": a folder of that name exists.");
        }
        ok = std::rename(temp_.c_str(), path_.c_str()) == 0;
    }
    if (!ok) {
        std::string why = reason();
        std::remove(temp_.c_str());
        throw Error("Cannot write the " + what_ + " " + path_ + ": " + why + ".");
    }
}

} // namespace trelvik::formats::detail

#include "core/fileroutines.h"

#include "core/error.h"
#include "core/tempfiles.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace trelvik {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

// Temporary files sit beside their target (a rename within one folder is atomic) under
// a name that says whose they are: ".<name>.trelvik-<pid>-<n>.tmp". A process killed
// while writing leaves one behind; the next write of the same target removes those
// whose process is gone.
std::string tempPrefixFor(const fs::path& target) { return "." + target.filename().string() + ".trelvik-"; }

std::string tempNameFor(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    return (target.parent_path() / (tempPrefixFor(target) + std::to_string(::getpid()) + "-" +
                                    std::to_string(counter++) + ".tmp")).string();
}

void removeStaleTemps(const fs::path& target) {
    const std::string prefix = tempPrefixFor(target);
    std::error_code ec;
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string rest = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        const std::size_t dash = rest.find('-');
        if (dash == std::string::npos || dash == 0) continue;
        long pid = 0;
        try {
            pid = std::stol(rest.substr(0, dash));
        } catch (...) {
            continue;
        }
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // its writer may still run
        std::error_code rm;
        fs::remove(it->path(), rm);
    }
}

// The file a write should replace: through a symbolic link to what it points at, so the
// link stays a link.
fs::path resolvedTarget(const std::string& path) {
    std::error_code ec;
    fs::path p(path);
    if (fs::is_symlink(fs::symlink_status(p, ec))) {
        const fs::path real = fs::weakly_canonical(p, ec);
        if (!ec) return real;
    }
    return p;
}

void syncFolder(const fs::path& target) {
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
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

AtomicTextWriter::AtomicTextWriter(std::string path) : path_(std::move(path)) {
    const fs::path target = resolvedTarget(path_);
    target_ = target.string();
    temp_ = tempNameFor(target);
    removeStaleTemps(target);
    file_ = std::fopen(temp_.c_str(), "wb");
    if (!file_) throw Error("Cannot write \"" + path_ + "\": " + std::strerror(errno));
    // A replaced file keeps its permissions.
    struct stat old{};
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(::fileno(file_), old.st_mode & 07777);
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
    // On disk before the rename, so a power loss cannot leave an empty file in place of
    // the old one; a working file of a private folder goes with its folder and needs no sync.
    const bool durable = !inPrivateFolder(target_);
    if (durable && ::fsync(::fileno(file_)) != 0) fail("sync");
    if (std::fclose(file_) != 0) {
        file_ = nullptr;
        fail("close");
    }
    file_ = nullptr;
    std::error_code ec;
    fs::rename(temp_, target_, ec);
    if (ec) {
        fs::remove(temp_, ec);
        throw Error("Cannot replace \"" + path_ + "\": " + ec.message());
    }
    committed_ = true;
    if (durable) syncFolder(target_);
}

void appendFileAtomic(const std::string& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) throw Error("Cannot append to \"" + path + "\": " + std::strerror(errno));
    struct stat st{};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw Error("Cannot append to \"" + path + "\": " + std::strerror(err));
    }
    const off_t oldSize = st.st_size;
    std::size_t done = 0;
    int err = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0 && errno != EINVAL) err = errno;
    if (err != 0) {
        // A torn row would glue the next append onto it: cut back to the old end.
        if (::ftruncate(fd, oldSize) != 0) { /* the error below still reports the failure */ }
        ::close(fd);
        throw Error("Cannot append to \"" + path + "\": " + std::strerror(err));
    }
    if (::close(fd) != 0) throw Error("Cannot append to \"" + path + "\": " + std::strerror(errno));
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

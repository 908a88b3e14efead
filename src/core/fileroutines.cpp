#include "core/fileroutines.h"

#include "core/error.h"
#include "core/tempfiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
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
//
// The temporary's name is longer than its target's, so a long target name (any valid
// name within about 35 bytes of the folder's limit) is cut for it, at a character
// boundary, and followed by a hash of the whole name: ".<start of name>.<hash>.trelvik-".
// The same target always gives the same prefix, so stale temporaries are still found.
constexpr std::size_t kTempSuffixMax = 10 + 1 + 10 + 4;  // "<pid>-<n>.tmp"
constexpr std::string_view kTempTag = ".trelvik-";

std::size_t nameLimit(const fs::path& target) {
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const long limit = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

std::string tempPrefixFor(const fs::path& target) {
    const std::string name = target.filename().string();
    const std::size_t limit = nameLimit(target);
    if (1 + name.size() + kTempTag.size() + kTempSuffixMax <= limit) return "." + name + std::string(kTempTag);
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ULL;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    const std::size_t fixed = 1 + 1 + 16 + kTempTag.size() + kTempSuffixMax;
    std::size_t keep = limit > fixed ? std::min(name.size(), limit - fixed) : 0;
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;  // not inside a character
    return "." + name.substr(0, keep) + "." + hex + std::string(kTempTag);
}

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

ReplacementFile::ReplacementFile(std::string path) : path_(std::move(path)) {
    const fs::path target = resolvedTarget(path_);
    target_ = target.string();
    temp_ = tempNameFor(target);
    removeStaleTemps(target);
    fd_ = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) throw Error("Cannot write \"" + path_ + "\": " + std::strerror(errno));
    // A replaced file keeps its permissions.
    struct stat old{};
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd_, old.st_mode & 07777);
}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) {
        std::error_code ec;
        fs::remove(temp_, ec);
    }
}

void ReplacementFile::fail(const std::string& what, int err) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    std::error_code ec;
    fs::remove(temp_, ec);
    throw Error("Cannot write \"" + path_ + "\" (" + what + "): " + std::strerror(err));
}

bool ReplacementFile::durable() const { return !inPrivateFolder(target_); }

void ReplacementFile::write(std::string_view data) {
    if (fd_ < 0) throw Error("Cannot write \"" + path_ + "\": the file is already closed");
    while (!data.empty()) {
        const ssize_t n = ::write(fd_, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("write", errno);
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
}

void ReplacementFile::finish() {
    if (finished_) return;
    if (fd_ < 0) throw Error("Cannot write \"" + path_ + "\": the file is already closed");
    // On disk before the rename, so a power loss cannot leave an empty file in place of
    // the old one; a working file of a private folder goes with its folder and needs no sync.
    if (durable() && ::fsync(fd_) != 0) fail("sync", errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("close", errno);
    finished_ = true;
}

void ReplacementFile::commit() {
    finish();
    std::error_code ec;
    fs::rename(temp_, target_, ec);
    if (ec) {
        std::error_code rm;
        fs::remove(temp_, rm);
        throw Error("Cannot replace \"" + path_ + "\": " + ec.message());
    }
    committed_ = true;
    if (durable()) syncFolder(target_);
}

AtomicTextWriter::AtomicTextWriter(std::string path) : file_(std::move(path)) { buffer_.reserve(kBufferSize); }

void AtomicTextWriter::write(std::string_view text) {
    if (finished_) throw Error("Cannot write \"" + path() + "\": the file is already closed");
    if (buffer_.size() + text.size() > kBufferSize) {
        file_.write(buffer_);
        buffer_.clear();
        if (text.size() > kBufferSize) {
            file_.write(text);
            return;
        }
    }
    buffer_.append(text);
}

void AtomicTextWriter::line(std::string_view text) {
    write(text);
    write(kCRLF);
}

void AtomicTextWriter::finish() {
    if (finished_) return;
    file_.write(buffer_);
    buffer_.clear();
    file_.finish();
    finished_ = true;
}

void AtomicTextWriter::commit() {
    finish();
    file_.commit();
}

void commitTogether(AtomicTextWriter& first, AtomicTextWriter& second) {
    first.finish();
    second.finish();
    // A rename can still fail (a folder holds the second name, say). Until the second
    // file is in place, the first's old file stays reachable under a temporary name of
    // its own, and is put back when the second cannot follow.
    const std::string& target = first.file_.target();
    std::error_code ec;
    const bool existed = fs::exists(fs::symlink_status(target, ec));
    const std::string backup = tempNameFor(target);
    const bool kept = existed && ::link(target.c_str(), backup.c_str()) == 0;
    try {
        first.commit();
    } catch (...) {
        if (kept) fs::remove(backup, ec);
        throw;
    }
    try {
        second.commit();
    } catch (...) {
        if (kept) fs::rename(backup, target, ec);
        else if (!existed) fs::remove(target, ec);
        throw;
    }
    if (kept) fs::remove(backup, ec);
}

void appendFileAtomic(const std::string& path, std::string_view text) {
    // The tables appended to are a few kilobytes: rewriting them whole through a
    // temporary is what makes an append all or nothing, also under a kill.
    std::string old;
    if (FileExists(path)) old = readWholeFile(path);
    AtomicTextWriter w(path);
    w.write(old);
    if (!old.empty() && old.back() != '\n') w.write(old.back() == '\r' ? std::string_view("\n") : kCRLF);
    w.write(text);
    w.commit();
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

const std::string& StagedFiles::work(const std::string& path) {
    for (const auto& f : files_)
        if (f->path() == path) return f->tempPath();
    // The working file is closed at once: the step or the mapping program replaces it whole.
    files_.push_back(std::make_unique<ReplacementFile>(path));
    files_.back()->finish();
    return files_.back()->tempPath();
}

void StagedFiles::commit() {
    for (const auto& f : files_) f->commit();
}

} // namespace trelvik

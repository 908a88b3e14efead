#include "core/fileroutines.h"
#include "core/commit/testhooks.h"

#include "core/error.h"
#include "core/samefile.h"
#include "core/tempfiles.h"
#include "core/commit/workingfiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace trelvik {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

// Names tried for one working file before giving up: far more than anyone can plant.
constexpr int kNameAttempts = 1 << 16;

// "\"<link>\" is a link of another user (<owner>)", the link named as the walk met it;
// "it is ..." when the link is `path` itself.
std::string othersLinkText(const Walked& w, const std::string& path = {}) {
    const bool itself = !path.empty() && fs::path(w.othersLink).lexically_normal() == fs::path(path).lexically_normal();
    return (itself ? std::string("it is") : "\"" + w.othersLink + "\" is") + " a link of another user (" +
           ownerName(w.owner) + ")";
}

// A new working file beside the target `name` in folder, opened for reading and writing;
// -1 (errno set) when none can be made. Only a file made here is opened (O_EXCL, which
// never follows a link): a name someone has put anything at is passed over for another.
int openNewWorkingFile(const HeldFolder& folder, const std::string& name, mode_t mode, std::string& made) {
    const fs::path target = folder.pathOf(name);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string full = working::newName(target);
        made = fs::path(full).filename().string();
        if (beforeWorkingFileMade) beforeWorkingFileMade(full);
        const int fd = ::openat(folder.fd(), made.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// The folder a save writes in and the name it replaces there, walked once: through the
// user's own links to what they point at, so a link stays a link; another user's is
// refused before anything is written.
std::string saveLinkRefusal(const std::string& path, const Walked& w) {
    return "Cannot write \"" + path + "\": " + othersLinkText(w) +
           "; a save follows only your own links, so nothing was written";
}

Walked walkToSave(const std::string& path) {
    Walked w = walkPath(path);
    if (!w.othersLink.empty()) throw Error(saveLinkRefusal(path, w));
    if (!w.reached()) throw Error("Cannot write \"" + path + "\": " + std::strerror(w.err ? w.err : ENOENT));
    if (w.name == ".") throw Error("Cannot write \"" + path + "\": it names a folder, not a file");
    return w;
}

// path walked as a step's check of its input walks it: a new file still waiting under its
// working name after a kill is put in place first, not taken for a missing one, so the
// folder the walk holds is settled, and walked again when it held records.
Walked walkSettled(const std::string& path) {
    Walked w = walkPath(path);
    if (w.folder && !inPrivateFolder(path)) {
        try {
            if (working::settleHeldFolder(w.folder.path(), &w.folder)) w = walkPath(path);
        } catch (const std::exception&) {
        }
    }
    return w;
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
    const Walked w = walkSettled(path);
    return w.reached() && w.exists && !S_ISDIR(w.st.st_mode);
}

std::string saveRefusal(const std::string& path) {
    const Walked w = walkPath(path);
    return w.othersLink.empty() ? std::string() : saveLinkRefusal(path, w);
}

void makeFolder(const std::string& dir, const std::string& cannot) {
    // Looked at again after each folder made: someone sharing the folder may make the
    // name first, and then it must be a folder too.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const Walked w = walkPath(dir);
        if (!w.othersLink.empty())
            throw Error(cannot + ": " + othersLinkText(w) +
                        ", which the program follows to no folder; remove it or choose another folder");
        if (w.err == ENOENT) {  // a folder on the way is missing: it is made first
            const std::string parent = fs::path(dir).parent_path().string();
            if (parent.empty() || parent.size() >= dir.size()) throw Error(cannot + ": " + std::strerror(ENOENT));
            makeFolder(parent, cannot);
            continue;
        }
        if (!w.reached()) throw Error(cannot + ": " + std::strerror(w.err));
        if (w.exists && S_ISDIR(w.st.st_mode)) return working::madeFor(dir);
        if (w.exists) throw Error(cannot + ": a file of that name is in its place");
        if (::mkdirat(w.folder.fd(), w.name.c_str(), 0777) != 0 && errno != EEXIST)
            throw Error(cannot + ": " + std::strerror(errno));
    }
    throw Error(cannot + ": its name keeps changing");
}

int removeFile(const std::string& path) {
    const Walked w = walkPath(path, false);
    if (!w.othersLink.empty()) return EPERM;
    if (!w.reached() || !w.exists) return w.err == ENOENT || w.reached() ? 0 : w.err;
    if (w.name == "." || S_ISDIR(w.st.st_mode)) return EISDIR;
    const int err = w.folder.remove(w.name);
    return err == ENOENT ? 0 : err;
}

std::string readWholeFile(const std::string& path) {
    working::settleBeforeReading(path);
    return readFileAsItStands(path);
}

namespace {

[[noreturn]] void refuseInput(const std::string& path, const std::string& why) {
    throw Error("Cannot read \"" + path + "\": " + why);
}

std::string tooLarge(std::uint64_t size) {
    return "it is " + std::to_string(size) + " bytes long, larger than the 2 GiB (" + std::to_string(kLargestInput) +
           " bytes) an input file may be";
}

}  // namespace

namespace {

// The reader's judgement of what a walk found: empty when it is a regular file of a sane
// size; else why not, and whether nothing is there at all.
std::string judged(const std::string& path, const Walked& w, const std::string& cannotOpen, bool& missing) {
    missing = false;
    if (!w.othersLink.empty()) return "Cannot read \"" + path + "\": " + othersLinkText(w, path);
    if (!w.reached() || !w.exists) {
        const int err = w.err ? w.err : ENOENT;
        missing = err == ENOENT;
        return cannotOpen.empty() ? "Cannot open \"" + path + "\": " + std::strerror(err) : cannotOpen;
    }
    const struct stat& st = w.st;
    std::string why;
    if (S_ISDIR(st.st_mode)) why = "it is a folder";
    else if (S_ISFIFO(st.st_mode)) why = "it is a pipe, not a file";
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) why = "it is a device, not a file";
    else if (S_ISSOCK(st.st_mode)) why = "it is a socket, not a file";
    else if (!S_ISREG(st.st_mode)) why = "it is not a regular file";
    else if (const auto size = static_cast<std::uint64_t>(st.st_size); size > kLargestInput) why = tooLarge(size);
    return why.empty() ? why : "Cannot read \"" + path + "\": " + why;
}

// Why a rename over `name` failed, in the user's words where the bare error would not
// say: in a sticky folder (a shared /tmp, say) only a file's owner may replace it.
std::string replaceFailure(const HeldFolder& folder, const std::string& name, int err) {
    struct stat there{}, dir{};
    if ((err == EPERM || err == EACCES) && folder.stat(name, there) && there.st_uid != ::geteuid() &&
        ::fstat(folder.fd(), &dir) == 0 && (dir.st_mode & S_ISVTX))
        return "it is " + ownerName(there.st_uid) +
               "'s file, in a folder where only a file's owner may replace or remove it; save under another name";
    return std::strerror(err);
}

// How many times a name that changes between its look and its open is looked at again.
constexpr int kOpenAttempts = 4;

} // namespace

InputState judgeInput(const std::string& path, std::string& why) {
    why.clear();
    if (path.empty()) return InputState::Missing;
    bool missing = false;
    why = judged(path, walkSettled(path), {}, missing);
    return missing ? InputState::Missing : why.empty() ? InputState::Readable : InputState::Refused;
}

InputFile::InputFile(const std::string& path, const std::string& cannotOpen) : path_(path) {
    // What is opened is the name the walk judged, in the folder it holds, without following
    // a link, and only while it is still the file judged: a name swapped meanwhile for a
    // link or another file is looked at again.
    for (int attempt = 1;; ++attempt) {
        const Walked w = walkPath(path);
        bool missing = false;
        if (std::string why = judged(path, w, cannotOpen, missing); !why.empty()) throw Error(why);
        struct stat st{};
        fd_ = w.folder.openChecked(w.name, w.st, st);
        int failed = fd_ < 0 ? errno : 0;
        if (fd_ >= 0) {
            size_ = static_cast<std::uint64_t>(st.st_size);
            // Opened without waiting, should the name have become a pipe; read as usual.
            const int flags = ::fcntl(fd_, F_GETFL);
            if (flags >= 0 && ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) == 0) return;
            failed = errno;
            ::close(fd_);
            fd_ = -1;
        }
        // A name changed between its look and its open is looked at again.
        const bool changed = failed == ESTALE || failed == ELOOP || failed == ENOENT;
        if (attempt == kOpenAttempts || !changed) {
            if (changed) refuseInput(path, "it changed as it was opened");
            throw Error(cannotOpen.empty() ? "Cannot open \"" + path + "\": " + std::strerror(failed) : cannotOpen);
        }
    }
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

int InputFile::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::FILE* InputFile::releaseAsStream() {
    std::FILE* f = ::fdopen(fd_, "rb");
    if (!f) refuseInput(path_, std::strerror(errno));
    fd_ = -1;
    return f;
}

std::string InputFile::readAll() {
    // Read straight into the result: large grids are tens of megabytes, and a copy
    // through a staging buffer costs as much again. The size is only a first guess
    // (the file may grow or shrink while it is read), so read on until the end, though
    // never past the largest input.
    std::string data;
    std::size_t have = 0;
    data.resize(static_cast<std::size_t>(size_) + 1);
    for (;;) {
        if (have == data.size()) {
            if (have > kLargestInput) refuseInput(path_, tooLarge(have));
            data.resize(data.size() + kBufferSize);
        }
        const ssize_t got = ::read(fd_, data.data() + have, data.size() - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw Error("Cannot read \"" + path_ + "\"");
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    data.resize(have);
    return data;
}

std::string readFileAsItStands(const std::string& path) { return InputFile(path).readAll(); }

namespace {
// The working files of this run's sets not yet put in place (StagedFiles::work), by the
// name the set gave for each.
working::LiveNames& stagedWorkingFiles() {
    static working::LiveNames names;
    return names;
}
} // namespace

ReplacementFile::ReplacementFile(std::string path) : path_(std::move(path)) {
    Walked w = walkToSave(path_);
    name_ = w.name;
    target_ = w.path();
    folder_ = std::make_shared<HeldFolder>(std::move(w.folder));
    if (stagedWorkingFiles().has(path_)) {
        // A working file of a set: written where it is, as it is that set's commit that
        // syncs it and puts it in place. A temporary beside it, synced and renamed over it,
        // would cost every file of a set two writes.
        fd_ = ::openat(folder_->fd(), name_.c_str(), O_RDWR | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
        struct stat st{};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !sameFile(st, w.st)) {
            const int err = fd_ < 0 ? errno : ESTALE;
            if (fd_ >= 0) ::close(fd_);
            fd_ = -1;
            throw Error("Cannot write \"" + path_ + "\": " + std::strerror(err));
        }
        temp_ = path_;
        inPlace_ = true;
        return;
    }
    // What writers that ended without finishing left in the folder goes first.
    working::tidyFolder(fs::path(target_).parent_path());
    // A replaced file of the user's own keeps its permissions, and its new content is
    // nobody else's to read before it has them. Another user's permissions are not kept:
    // a file anyone may write would let that user rewrite the result.
    struct stat old{};
    const bool keepMode = folder_->stat(name_, old) && S_ISREG(old.st_mode) && old.st_uid == ::geteuid();
    fd_ = openNewWorkingFile(*folder_, name_, keepMode ? 0600 : 0666, tempName_);
    if (fd_ < 0) throw Error("Cannot write \"" + path_ + "\": " + std::strerror(errno));
    temp_ = folder_->pathOf(tempName_);
    if (keepMode) ::fchmod(fd_, old.st_mode & 07777);
}

std::string newWorkingFile(const std::string& target) {
    const Walked w = walkToSave(target);
    std::string name;
    const int fd = openNewWorkingFile(w.folder, w.name, 0666, name);
    if (fd < 0) throw Error("Cannot write \"" + target + "\": " + std::strerror(errno));
    ::close(fd);
    return w.folder.pathOf(name);
}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0) ::close(fd_);
    if (staged_) stagedWorkingFiles().set(temp_, false);
    if (!committed_ && !tempName_.empty()) folder_->remove(tempName_);
}

void ReplacementFile::stage() {
    staged_ = true;
    stagedWorkingFiles().set(temp_, true);
    // Synced once, when its set is put in place, after whatever writes it meanwhile.
    if (fd_ >= 0 && ::close(fd_) != 0) fail("close", errno);
    fd_ = -1;
}

void ReplacementFile::fail(const std::string& what, int err) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempName_.empty()) folder_->remove(tempName_);
    throw Error("Cannot write \"" + path_ + "\" (" + what + "): " + std::strerror(err));
}

bool ReplacementFile::durable() const { return !inPrivateFolder(target_); }

void ReplacementFile::write(std::string_view data) {
    if (fd_ < 0) throw Error("Cannot write \"" + path_ + "\": the file is already closed");
    if (const int err = writeAll(fd_, data)) fail("write", err);
}

void ReplacementFile::finish() {
    if (finished_) return;
    if (staged_ && fd_ < 0) fd_ = ::openat(folder_->fd(), tempName_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) throw Error("Cannot write \"" + path_ + "\": the file is already closed");
    // On disk before the rename, so a power loss cannot leave an empty file in place of
    // the old one; a working file of a private folder goes with its folder and needs no
    // sync, nor does one of a set written in place, which its set syncs.
    if (!inPlace_ && durable() && ::fsync(fd_) != 0) fail("sync", errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("close", errno);
    finished_ = true;
}

void ReplacementFile::commit(bool syncFolder) {
    finish();
    if (inPlace_) {  // its set puts it in place
        committed_ = true;
        return;
    }
    if (const int err = folder_->rename(tempName_, *folder_, name_)) {
        folder_->remove(tempName_);
        throw Error("Cannot replace \"" + path_ + "\": " + replaceFailure(*folder_, name_, err));
    }
    committed_ = true;
    if (syncFolder && durable()) folder_->sync();
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


// An old last line without an end (torn by an earlier, unsafe append) gets one first, so no
// row is joined to another. The tables appended to are a few kilobytes: rewriting them
// whole through a temporary is what makes an append all or nothing, also under a kill.
std::string appendedContent(const std::string& path, std::string_view text) {
    std::string content;
    if (FileExists(path)) content = readWholeFile(path);
    if (!content.empty() && content.back() != '\n') content += content.back() == '\r' ? std::string_view("\n") : kCRLF;
    content += text;
    return content;
}

void appendFileAtomic(const std::string& path, std::string_view text) { writeFileAtomic(path, appendedContent(path, text)); }


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
        if (deleteInput) {
            const Walked in = walkPath(inFile), out = walkPath(outFile);
            const bool same = in.exists && out.exists && sameFile(in.st, out.st);
            if (const int err = same ? 0 : removeFile(inFile))
                throw CopyFailure{"Cannot delete \"" + inFile + "\": " + std::strerror(err), 75};
        }
        return true;
    } catch (const CopyFailure& f) {
        prompt.message("", "Error: " + f.description + "\nNumber: " + std::to_string(f.number));
        return false;
    }
}

} // namespace trelvik

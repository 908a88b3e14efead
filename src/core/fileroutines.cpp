#include "core/fileroutines.h"

#include "core/error.h"
#include "core/tempfiles.h"
#include "core/commit/workingfiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace trelvik {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

// The links on the way from a name to its file, followed only while they are the user's
// own: one another user put in a shared folder could aim a read or a write at any file
// the user may read or write. `reached` is where the walk stopped; `others` the first link
// of another user met, if any, with its owner.
struct LinkWalk {
    fs::path reached, others;
    uid_t owner = 0;
};

LinkWalk walkOwnLinks(const std::string& path) {
    LinkWalk w{fs::path(path), {}, 0};
    struct stat st{};
    for (int hop = 0; hop < 40 && ::lstat(w.reached.c_str(), &st) == 0 && S_ISLNK(st.st_mode); ++hop) {
        if (st.st_uid != ::geteuid()) {
            w.others = w.reached;
            w.owner = st.st_uid;
            break;
        }
        std::error_code ec;
        const fs::path to = fs::read_symlink(w.reached, ec);
        if (ec) break;
        w.reached = w.reached.parent_path() / to;
    }
    return w;
}

// The file a write should replace: through the user's own symbolic link to what it points
// at, so the link stays a link.
fs::path resolvedTarget(const std::string& path) {
    const LinkWalk w = walkOwnLinks(path);
    if (!w.others.empty())
        throw Error("Cannot write \"" + path + "\": \"" + w.others.string() + "\" is a link of another user (" +
                    ownerName(w.owner) + "); a save follows only your own links, so nothing was written");
    if (w.reached == fs::path(path)) return w.reached;
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(fs::path(path), ec);
    return ec ? fs::path(path) : real;
}

// Names tried for one working file before giving up: far more than anyone can plant.
constexpr int kNameAttempts = 1 << 16;

// A new working file beside target, opened for reading and writing; -1 (errno set) when
// none can be made. Only a file made here is opened (O_EXCL, which never follows a link):
// a name someone has put anything at is passed over for another.
int openNewWorkingFile(const fs::path& target, mode_t mode, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = working::newName(target);
        if (beforeWorkingFileMade) beforeWorkingFileMade(name);
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Carries a failure of ConvertLineEnds with its description and number.
struct CopyFailure {
    std::string description;
    int number;
};

}  // namespace

std::string ownerName(uid_t owner) {
    struct passwd pw{}, *found = nullptr;
    char buf[1024];
    if (::getpwuid_r(owner, &pw, buf, sizeof buf, &found) == 0 && found && found->pw_name) return found->pw_name;
    return "user " + std::to_string(owner);
}

bool DirExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_directory(fs::path(path), ec);
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    // A step asks this of its inputs as it starts: a new file still waiting under its
    // working name after a kill is put in place first, not taken for a missing one.
    try {
        working::settleBeforeReading(path);
    } catch (const std::exception&) {
    }
    std::error_code ec;
    const fs::file_status st = fs::status(fs::path(path), ec);
    if (ec) return false;
    return fs::exists(st) && !fs::is_directory(st);
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

InputFile::InputFile(const std::string& path, const std::string& cannotOpen) : path_(path) {
    if (const LinkWalk w = walkOwnLinks(path); !w.others.empty())
        refuseInput(path, (w.others == fs::path(path) ? std::string("it is") : "\"" + w.others.string() + "\" is") +
                              " a link of another user (" + ownerName(w.owner) + ")");
    // Without waiting: opening a pipe no one writes to would block for good, and a device's
    // open may wait on its line. Only what fstat then finds decides whether it is read.
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    fd_ = ::open(path.c_str(), kFlags);
    if (fd_ < 0) throw Error(cannotOpen.empty() ? "Cannot open \"" + path + "\": " + std::strerror(errno) : cannotOpen);
    struct stat st{};
    std::string why;
    if (::fstat(fd_, &st) != 0) why = std::strerror(errno);
    else if (S_ISDIR(st.st_mode)) why = "it is a folder";
    else if (S_ISFIFO(st.st_mode)) why = "it is a pipe, not a file";
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) why = "it is a device, not a file";
    else if (S_ISSOCK(st.st_mode)) why = "it is a socket, not a file";
    else if (!S_ISREG(st.st_mode)) why = "it is not a regular file";
    else if (const auto size = static_cast<std::uint64_t>(st.st_size); size > kLargestInput) why = tooLarge(size);
    if (why.empty()) {
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) why = std::strerror(errno);
    }
    if (!why.empty()) {
        ::close(fd_);
        refuseInput(path, why);
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
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

ReplacementFile::ReplacementFile(std::string path) : path_(std::move(path)) {
    const fs::path target = resolvedTarget(path_);
    target_ = target.string();
    // What writers that ended without finishing left in the folder goes first.
    working::tidyFolder(target.parent_path());
    // A replaced file keeps its permissions; its new content is nobody else's to read
    // before it has them.
    struct stat old{};
    const bool keepMode = ::lstat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    fd_ = openNewWorkingFile(target, keepMode ? 0600 : 0666, temp_);
    if (fd_ < 0) throw Error("Cannot write \"" + path_ + "\": " + std::strerror(errno));
    if (keepMode) ::fchmod(fd_, old.st_mode & 07777);
}

std::string newWorkingFile(const std::string& target) {
    std::string name;
    const int fd = openNewWorkingFile(fs::path(target), 0666, name);
    if (fd < 0) throw Error("Cannot write \"" + target + "\": " + std::strerror(errno));
    ::close(fd);
    return name;
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
    if (durable()) working::syncFolder(fs::path(target_).parent_path());
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

namespace {

// Puts every temporary in place, or none, also across a kill. A rename can still fail
// after others have been made (a folder holds one of the names, say), so each file about
// to be replaced is first kept under a working name of its own, as a second link (a copy
// where the folder takes no links), and a record of the commit is written beside the
// files before the first rename (core/commit/workingfiles.h). When a rename fails, the files
// already renamed get their old files back, or go when there was none; one that cannot be
// put back is named with the file its old content waits in. The kept files go once all
// are in place.
void commitAll(const std::vector<ReplacementFile*>& files) {
    if (files.empty()) return;
    std::vector<working::Staged> staged;
    std::optional<working::CommitRecord> record;
    try {
        for (ReplacementFile* f : files) {
            f->finish();
            working::Staged s;
            s.target = f->target();
            s.fresh = f->tempPath();
            s.shown = f->path();
            std::error_code ec;
            const fs::file_status st = fs::symlink_status(s.target, ec);
            if (fs::exists(st) && !fs::is_directory(st)) {  // a folder refuses the rename itself
                // Neither a link nor a copy goes to a name already taken: another is tried.
                for (int attempt = 0; s.kept.empty(); ++attempt) {
                    const std::string kept = working::newName(s.target);
                    if (::link(s.target.c_str(), kept.c_str()) == 0 || fs::copy_file(s.target, kept, ec))
                        s.kept = kept;
                    else if (ec != std::errc::file_exists || attempt == kNameAttempts)
                        throw Error("Cannot replace \"" + f->path() + "\": " + ec.message());
                }
            }
            staged.push_back(std::move(s));
        }
        record.emplace(staged);
    } catch (...) {
        working::removeKeptCopies(staged);
        throw;
    }
    std::size_t done = 0;
    try {
        if (working::afterCommitRename) working::afterCommitRename(0);
        for (; done < files.size(); ++done) {
            files[done]->commit();
            if (working::afterCommitRename) working::afterCommitRename(done + 1);
        }
    } catch (const Error& e) {
        const std::string left = record->undo();
        if (left.empty()) throw;
        throw Error(std::string(e.what()) + "; " + left + ". The next step that writes in its folder puts it back once it can.");
    }
    record->finished();
}

}  // namespace

void commitTogether(AtomicTextWriter& first, AtomicTextWriter& second) {
    first.finish();
    second.finish();
    commitAll({&first.file_, &second.file_});
}

namespace {
// path's content with text after it; an old last line without an end (torn by an earlier,
// unsafe append) gets one first, so no row is joined to another. The tables appended to
// are a few kilobytes: rewriting them whole through a temporary is what makes an append
// all or nothing, also under a kill.
std::string withAppended(const std::string& path, std::string_view text) {
    std::string content;
    if (FileExists(path)) content = readWholeFile(path);
    if (!content.empty() && content.back() != '\n') content += content.back() == '\r' ? std::string_view("\n") : kCRLF;
    content += text;
    return content;
}
} // namespace

void appendFileAtomic(const std::string& path, std::string_view text) { writeFileAtomic(path, withAppended(path, text)); }

void StagedFiles::append(const std::string& path, std::string_view text) {
    naming([&] { writeFileAtomic(work(path), withAppended(path, text)); });
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

std::string StagedFiles::realNames(std::string text) const {
    for (const auto& f : files_)
        for (std::size_t at = text.find(f->tempPath()); at != std::string::npos;
             at = text.find(f->tempPath(), at + f->path().size()))
            text.replace(at, f->tempPath().size(), f->path());
    return text;
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
    std::vector<ReplacementFile*> files;
    for (const auto& f : files_) files.push_back(f.get());
    commitAll(files);
}

} // namespace trelvik

// The writer's half of the commit (core/commit/commit.h): the files of a step written
// under working names, then put in place with one record.
#include "core/commit/commit.h"

#include "core/commit/testhooks.h"
#include "core/commit/workingfiles.h"
#include "core/error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace trelvik {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// Names tried for one kept copy before giving up: far more than anyone can plant.
constexpr int kNameAttempts = 1 << 16;

// Copies the file `from` in folder to a new file `to` there, neither reached through a
// link: where a folder takes no second links, a kept old file is such a copy. 0 or errno.
int copyWithin(const HeldFolder& folder, const std::string& from, const std::string& to) {
    const int in = ::openat(folder.fd(), from.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) return errno;
    struct stat st{};
    int err = ::fstat(in, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EINVAL;
    const int out = err ? -1 : ::openat(folder.fd(), to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (!err && out < 0) err = errno;
    std::vector<char> buf(out >= 0 ? kBufferSize : 0);
    while (out >= 0 && !err) {
        const ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : 0;
            break;
        }
        err = writeAll(out, {buf.data(), static_cast<std::size_t>(n)});
    }
    if (out >= 0 && !err) {
        ::fchmod(out, st.st_mode & 07777);
        if (::fsync(out) != 0) err = errno;
    }
    ::close(in);
    if (out >= 0 && ::close(out) != 0 && !err) err = errno;
    if (out >= 0 && err) folder.remove(to);
    return err;
}

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
            s.held = f->folder();
            const HeldFolder& dir = *s.held;
            const std::string name = fs::path(s.target).filename().string();
            struct stat st{};
            if (dir.stat(name, st) && !S_ISDIR(st.st_mode)) {  // a folder refuses the rename itself
                // Neither a link nor a copy goes to a name already taken: another is tried.
                for (int attempt = 0; s.kept.empty(); ++attempt) {
                    const std::string kept = fs::path(working::newName(s.target)).filename().string();
                    int err = ::linkat(dir.fd(), name.c_str(), dir.fd(), kept.c_str(), 0) == 0 ? 0 : errno;
                    if (err && err != EEXIST) err = copyWithin(dir, name, kept);
                    if (!err) s.kept = dir.pathOf(kept);
                    else if (err != EEXIST || attempt == kNameAttempts)
                        throw Error("Cannot replace \"" + f->path() + "\": " + std::strerror(err));
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
            files[done]->commit(false);
            if (working::afterCommitRename) working::afterCommitRename(done + 1);
        }
        // The renames made durable together, a folder at a time.
        std::vector<const HeldFolder*> synced;
        for (ReplacementFile* f : files) {
            const HeldFolder* dir = f->folder().get();
            if (!f->durable() || std::any_of(synced.begin(), synced.end(), [&](const HeldFolder* d) { return d->sameAs(*dir); }))
                continue;
            dir->sync();
            synced.push_back(dir);
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

void StagedFiles::append(const std::string& path, std::string_view text) {
    naming([&] { writeFileAtomic(work(path), appendedContent(path, text)); });
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
    files_.back()->stage();
    return files_.back()->tempPath();
}

void StagedFiles::commit() {
    std::vector<ReplacementFile*> files;
    for (const auto& f : files_) files.push_back(f.get());
    commitAll(files);
}

} // namespace trelvik

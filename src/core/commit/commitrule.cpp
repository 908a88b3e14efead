// Whose commit records a settle obeys and whose files it moves (core/commit/workingfiles.h).
// Anyone who may write a shared folder may put a file there named as a record, and a
// record's checks see only what it says. So the settle acts only for the user the program
// runs as: it reads a record only when it is that user's own regular file, and renames or
// removes a file only when it is that user's own regular file and still, by its id, the
// file the record names. Everything goes through folders held open (core/commit/heldfolder.h).
#include "core/commit/workingfiles_detail.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace trelvik::working::detail {

namespace fs = std::filesystem;

bool ownFile(const struct stat& st) { return S_ISREG(st.st_mode) && st.st_uid == ::geteuid(); }

bool ownFileIn(const HeldFolder& folder, std::string_view name) {
    struct stat st{};
    return folder.stat(name, st) && ownFile(st);
}

Found readRecordIn(const HeldFolder& dir, std::string_view name, ReadRecord& r, std::string& why, struct stat& st) {
    why.clear();
    // Looked at before it is opened: a pipe is never waited on, a link never followed.
    if (!dir.stat(name, st)) return Found::Gone;
    if (st.st_uid != ::geteuid()) return Found::NotOwn;
    if (!S_ISREG(st.st_mode)) why = "it is not a plain file";
    else if (static_cast<std::uint64_t>(st.st_size) > kLargestRecord) why = "it is larger than any record a step writes";
    if (!why.empty()) return Found::NotOwn;
    const int fd = ::openat(dir.fd(), std::string(name).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? Found::Gone : (why = "it cannot be read", Found::NotOwn);
    struct stat opened{};
    std::string data;
    if (::fstat(fd, &opened) == 0 && ownFile(opened) && opened.st_ino == st.st_ino && opened.st_dev == st.st_dev) {
        data.resize(std::min<std::uint64_t>(static_cast<std::uint64_t>(opened.st_size), kLargestRecord) + 1);
        std::size_t have = 0;
        for (ssize_t n; have < data.size() && (n = ::read(fd, data.data() + have, data.size() - have)) != 0;) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) break;
            have += static_cast<std::size_t>(n);
        }
        data.resize(have);
    } else {
        why = "it changed as it was opened";
    }
    ::close(fd);
    if (!why.empty()) return Found::NotOwn;
    st = opened;
    return parseRecord(data, r, why) ? Found::Read : Found::CutShort;
}

bool holdsOld(const struct stat& st, const Staged& s) {
    if (!sameId(st, s.oldDev, s.oldIno)) return false;
    return s.oldSize < 0 || (static_cast<std::int64_t>(st.st_size) == s.oldSize && timeOf(st) == s.oldTime &&
                             (s.oldChange == 0 || changeOf(st) == s.oldChange));
}

// A regular file: a folder or link made since may have been given the number of a new
// file that was removed.
bool isFresh(const HeldFile& h, const std::string& name) {
    struct stat st{};
    return h.folder->stat(name, st) && S_ISREG(st.st_mode) && sameId(st, h.ids.dev, h.ids.ino);
}

bool freshAsWritten(const HeldFile& h, const std::string& name) {
    struct stat st{};
    if (!h.folder->stat(name, st) || !S_ISREG(st.st_mode) || !sameId(st, h.ids.dev, h.ids.ino)) return false;
    const Staged& s = h.ids;
    if (s.size < 0) return true;  // a record of an earlier run: by id alone
    if (static_cast<std::int64_t>(st.st_size) != s.size || timeOf(st) != s.time) return false;
    return name != h.fresh || s.change == 0 || changeOf(st) == s.change;
}

bool isKeptCopy(const HeldFile& h) {
    struct stat st{};
    return !h.kept.empty() && h.folder->stat(h.kept, st) && S_ISREG(st.st_mode) && sameId(st, h.ids.keptDev, h.ids.keptIno);
}

std::vector<HeldFile> heldFiles(const std::vector<Staged>& files, std::vector<HeldFolder>& folders) {
    std::vector<fs::path> paths;
    folders.clear();
    folders.reserve(files.size());  // held by address below
    std::vector<HeldFile> out;
    for (const Staged& s : files) {
        const fs::path parent = fs::path(s.target).parent_path();
        auto at = std::find(paths.begin(), paths.end(), parent);
        if (at == paths.end()) {
            paths.push_back(parent);
            folders.push_back(HeldFolder::open(parent));
            at = paths.end() - 1;
        }
        const HeldFolder& f = folders[static_cast<std::size_t>(at - paths.begin())];
        out.push_back({&f, fs::path(s.target).filename().string(), fs::path(s.fresh).filename().string(),
                       s.kept.empty() ? std::string() : fs::path(s.kept).filename().string(), s, s.shown});
    }
    return out;
}

Undone undoFiles(const std::vector<HeldFile>& files, bool settling, std::vector<const HeldFile*>* savedSince) {
    Undone out;
    const auto note = [&out](const std::string& text) { out.left += (out.left.empty() ? "" : "; ") + text; };
    const auto notPutBack = [&](const HeldFile& h, const std::string& why) {
        note("the old \"" + h.shown + "\" could not be put back (" + why + "): its old content is in \"" +
             h.folder->pathOf(h.kept) + "\"");
        out.notPutBack.push_back(&h);
    };
    const auto errText = [](int err) { return std::error_code(err, std::generic_category()).message(); };
    // A settle moves only the user's own files; the writer undoing its own commit has just
    // made them.
    const auto may = [settling](const HeldFile& h, const std::string& name) {
        return !settling || ownFileIn(*h.folder, name);
    };
    for (auto h = files.rbegin(); h != files.rend(); ++h) {
        const HeldFolder& dir = *h->folder;
        if (isFresh(*h, h->target) && savedSince && !freshAsWritten(*h, h->target)) {
            // Changed in place since the kill: the user's, kept as it is.
            savedSince->push_back(&*h);
            if (isKeptCopy(*h) && may(*h, h->kept)) dir.remove(h->kept);
        } else if (isFresh(*h, h->target)) {
            if (!h->kept.empty() && !isKeptCopy(*h)) {
                notPutBack(*h, "its copy is no longer the one made");
            } else if (!may(*h, h->target) || (!h->kept.empty() && !may(*h, h->kept))) {
                notPutBack(*h, "another user's file is in the way");
            } else if (!h->kept.empty()) {
                if (const int err = dir.rename(h->kept, dir, h->target)) notPutBack(*h, errText(err));
            } else if (const int err = dir.remove(h->target); err && err != ENOENT) {
                note("the new \"" + h->shown + "\" could not be removed (" + errText(err) + "); it had no old file");
                out.notPutBack.push_back(&*h);
            }
        } else if (isKeptCopy(*h)) {
            // The target still holds its old file, or, when something has taken it away
            // since, gets it back; anything else in its place keeps the copy.
            struct stat now{};
            const bool there = dir.stat(h->target, now);
            const bool oldThere = there && sameId(now, h->ids.oldDev, h->ids.oldIno);
            int err = 0;
            if (!may(*h, h->kept)) err = oldThere ? 0 : EPERM;
            else if (oldThere) dir.remove(h->kept);
            else if (!there) err = dir.rename(h->kept, dir, h->target);
            if (err) notPutBack(*h, err == EPERM && settling ? "its copy is another user's file" : errText(err));
            else if (there && !oldThere) notPutBack(*h, "something else is in its place");
        }
        if (isFresh(*h, h->fresh) && may(*h, h->fresh)) dir.remove(h->fresh);
    }
    return out;
}

} // namespace trelvik::working::detail

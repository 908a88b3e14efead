// Where a commit's files stand and how they are given back (core/commit/workingfiles.h):
// by the writer whose rename failed, and by the settle of a commit a kill cut short. A
// file is renamed or removed only while it is still, by its id (and its size and time
// where the record has them), the file the record names; whose file it is was settled
// when the record was obeyed (core/commit/recordreader.cpp). Everything goes through
// folders held open (core/heldfolder.h).
#include "core/commit/testhooks.h"
#include "core/commit/workingfiles_detail.h"

#include <algorithm>
#include <cerrno>

namespace trelvik::working::detail {

namespace fs = std::filesystem;

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
    if (h.kept.empty() || !h.folder->stat(h.kept, st) || !S_ISREG(st.st_mode) || !sameId(st, h.ids.keptDev, h.ids.keptIno))
        return false;
    // A second link of the old file has the old file's size and time.
    const Staged& s = h.ids;
    return !(s.keptDev == s.oldDev && s.keptIno == s.oldIno && s.oldSize >= 0) ||
           (static_cast<std::int64_t>(st.st_size) == s.oldSize && timeOf(st) == s.oldTime);
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
            folders.push_back(s.held->dup());
            at = paths.end() - 1;
        }
        const HeldFolder& f = folders[static_cast<std::size_t>(at - paths.begin())];
        out.push_back({&f, fs::path(s.target).filename().string(), fs::path(s.fresh).filename().string(),
                       s.kept.empty() ? std::string() : fs::path(s.kept).filename().string(), s, s.shown});
    }
    return out;
}

Undone undoFiles(const std::vector<HeldFile>& files, std::vector<const HeldFile*>* savedSince) {
    Undone out;
    const auto note = [&out](const std::string& text) { out.left += (out.left.empty() ? "" : "; ") + text; };
    const auto notPutBack = [&](const HeldFile& h, const std::string& why) {
        note("the old \"" + h.shown + "\" could not be put back (" + why + "): its old content is in \"" +
             h.folder->pathOf(h.kept) + "\"");
        out.notPutBack.push_back(&h);
    };
    const auto errText = [](int err) { return std::error_code(err, std::generic_category()).message(); };
    for (auto h = files.rbegin(); h != files.rend(); ++h) {
        const HeldFolder& dir = *h->folder;
        if (isFresh(*h, h->target) && savedSince && !freshAsWritten(*h, h->target)) {
            // Changed in place since the kill: the user's, kept as it is.
            savedSince->push_back(&*h);
            if (isKeptCopy(*h)) dir.remove(h->kept);
        } else if (isFresh(*h, h->target)) {
            if (!h->kept.empty() && !isKeptCopy(*h)) {
                notPutBack(*h, "its copy is no longer the one made");
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
            bool there = dir.stat(h->target, now);
            const bool oldThere = there && sameId(now, h->ids.oldDev, h->ids.oldIno);
            int err = 0;
            if (oldThere) dir.remove(h->kept);
            else if (!there) {
                // Never over a file saved there since the look above.
                if (beforePutBack) beforePutBack(dir.path());
                err = dir.renameNew(h->kept, dir, h->target);
                if (err == EEXIST) there = true, err = 0;
            }
            if (err) notPutBack(*h, errText(err));
            else if (there && !oldThere) notPutBack(*h, "something else is in its place");
        }
        if (isFresh(*h, h->fresh)) dir.remove(h->fresh);
    }
    return out;
}

} // namespace trelvik::working::detail

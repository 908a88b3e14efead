// Whether a commit record is the program's own (core/workingfiles.h): anyone who can put
// a file in a shared folder can put one there named as a record, so a record is obeyed
// only when what it asks could only have been asked by the writer that made it. That a
// file it names is still the one its writer made (by id) is checked as each is touched.
#include "core/workingfiles.h"
#include "core/workingfiles_detail.h"

#include <algorithm>
#include <sys/stat.h>
#include <system_error>

namespace trelvik::working::detail {

namespace fs = std::filesystem;

bool holdsRecord(const fs::path& folder, const Origin& o) {
    for (std::string_view ext : {kRecordExt, kUndoExt})
        if (idOf((folder / (o.stem + std::string(ext))).string())) return true;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        Origin other;
        if (originOf(it->path().filename().string(), other) && other.stem == o.stem) return true;
    }
    return false;
}

namespace {

// Whether the user `owner` could move or remove path: anyone who may write its folder can,
// except in a folder where only a file's owner may (the sticky bit of shared folders).
bool movableBy(const std::string& path, unsigned owner) {
    struct stat dir{}, st{};
    if (owner == 0 || ::stat(fs::path(path).parent_path().c_str(), &dir) != 0 || !(dir.st_mode & S_ISVTX)) return true;
    return ::lstat(path.c_str(), &st) != 0 || st.st_uid == owner || dir.st_uid == owner;
}

unsigned ownerOf(const std::string& path) {
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_uid : 0;
}

} // namespace

std::string foreignWhy(const Record& r, const fs::path& base, const Origin& o) {
    const auto inFolders = [&r](const std::string& p) {
        return std::find(r.folders.begin(), r.folders.end(), fs::path(p).parent_path().string()) != r.folders.end();
    };
    const auto byWriter = [&o](const std::string& p) {
        Writer w;
        return kindOf(fs::path(p).filename().string(), w) == Kind::File && w.pid == o.writer.pid &&
               w.host == o.writer.host;
    };
    for (const std::string& f : r.folders)
        if (fs::path(f) != base && !holdsRecord(f, o)) return "it names \"" + f + "\", which holds no copy of it";
    for (const Staged& s : r.files) {
        for (const std::string& p : {s.target, s.fresh, s.kept})
            if (!p.empty() && !inFolders(p)) return "it names \"" + p + "\", outside the folders that hold it";
        if (!byWriter(s.fresh) || (!s.kept.empty() && !byWriter(s.kept)))
            return "it names files that its writer did not make";
        // Ids can be read by anyone, owners not forged: a file it gives as its new file is
        // one its writer made, and what it would move is what its writer could have moved.
        for (const std::string& p : {s.target, s.fresh})
            if (isFresh(p, s) && ownerOf(p) != r.owner) return "it gives \"" + p + "\" as its new file, made by another user";
        const bool oldThere = isOldFile(idOf(s.target), s);
        for (const std::string& p : {oldThere ? s.target : std::string(), isKeptCopy(s) ? s.kept : std::string()})
            if (!p.empty() && !movableBy(p, r.owner)) return "it would move \"" + p + "\", which its writer could not";
    }
    return {};
}

} // namespace trelvik::working::detail

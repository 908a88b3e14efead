// Whether a commit record is the program's own (core/workingfiles.h): anyone who can put
// a file in a shared folder can put one there named as a record, so a record is obeyed
// only when what it asks could only have been asked by the writer that made it. That a
// file it names is still the one its writer made (by id) is checked as each is touched.
#include "core/workingfiles.h"
#include "core/workingfiles_detail.h"

#include <algorithm>
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
    }
    return {};
}

} // namespace trelvik::working::detail

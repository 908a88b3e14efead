#pragma once
// What the working-file names, the commit records and the settling of cut commits share
// (core/workingfiles.cpp, core/commitsettle.cpp); nothing outside them uses it.
#include "core/workingfiles.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace trelvik::working::detail {

inline constexpr std::string_view kTag = ".trelvik-";
inline constexpr std::string_view kFileExt = ".tmp", kRecordExt = ".commit", kUndoExt = ".undo";
inline constexpr std::string_view kRecordBody = "commit";

struct Writer {
    std::string_view host;
    long pid = 0;  // 0: not a stamped name
};

enum class Kind { None, File, Record, Undo };

// What a name in a folder is, and (for a working name) which writer made it.
Kind kindOf(std::string_view name, Writer& w);
// The commit a record name stands for: the stamp its writer gave it, and that writer,
// also once a settler has claimed it under a name of its own. False for a name of the
// record form that no writer of ours makes.
struct Origin {
    std::string stem;  // ".commit.trelvik-<writer's stamp>", the name less its extension
    Writer writer;
    bool claimed = false;  // the name is a settler's claim
};
bool originOf(std::string_view name, Origin& o);

// True when w is of this host and no process of its number runs here.
bool ended(const Writer& w);
bool isMine(const Writer& w);

std::size_t nameLimit(const std::filesystem::path& dir);
// A new stamped name of this process: "." + body + ".trelvik-<stamp>" + ext.
std::string newStampedName(const std::string& body, const std::filesystem::path& dir, std::string_view ext);
// path with its record extension (".commit" or ".undo") changed to ext.
std::string withExt(const std::string& path, std::string_view ext);

// The records this process is committing or settling by now: a sweep in this process
// leaves them.
LiveNames& liveRecords();

// A commit record as read: every path resolved against the folder it was read in, and
// the user who owns the record file (its writer, who made its new files too).
struct Record {
    std::vector<std::string> folders;
    std::vector<Staged> files;
    unsigned owner = 0;
};
// The text of r as its copy in `base` holds it: every path relative to base, so that the
// record still names its files once the folder has been moved.
std::string recordText(const Record& r, const std::filesystem::path& base);
// False for a record cut short (its writer killed while writing it: no rename had begun).
bool readRecord(const std::string& path, Record& r);

struct FileId {
    std::uint64_t dev = 0, ino = 0;
};
std::optional<FileId> idOf(const std::string& path);
// True when id is that of s's old file, the one its target held when the record was made.
inline bool isOldFile(const std::optional<FileId>& id, const Staged& s) {
    return id && s.oldIno != 0 && id->dev == s.oldDev && id->ino == s.oldIno;
}
// A file's time of last modification, and of last change (which no user tool can set),
// in nanoseconds.
inline std::int64_t timeOf(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
inline std::int64_t changeOf(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
}
// True when s's kept copy is there and still the copy the commit made (by id): only then
// is it renamed or removed.
bool isKeptCopy(const Staged& s);
// True when path holds the commit's new file (by id).
bool isFresh(const std::string& path, const Staged& s);
// True when path holds the commit's new file as it was written. A rename sets the time of
// change, so a new file already in place is judged by its size and modification time.
bool freshAsWritten(const std::string& path, const Staged& s);

// True when folder holds a copy of the record o names, claimed or not.
bool holdsRecord(const std::filesystem::path& folder, const Origin& o);
// Why the record r, read in base under a name of origin o, is not one the program could
// have written; empty when it is.
std::string foreignWhy(const Record& r, const std::filesystem::path& base, const Origin& o);

// Gives each target whose new file is in place its old state back, last first; a kept
// copy whose target still holds the old file goes. A target whose new file was changed
// since stays, and is added to savedSince when given. Returns what could not be put back.
std::string undoFiles(const std::vector<Staged>& files, std::vector<const Staged*>* savedSince = nullptr);

// Notes what settling found, for the step that ran into it to say, and the files it put
// in place or back.
void addNote(std::string text);
void addSettled(const std::string& path);

} // namespace trelvik::working::detail

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

// A commit record as read: every path resolved against the folder it was read in.
struct Record {
    std::vector<std::string> folders;
    std::vector<Staged> files;
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
// A file's time of last change in nanoseconds.
inline std::int64_t timeOf(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
// True when path holds the commit's new file.
bool isFresh(const std::string& path, const Staged& s);

// Gives each target whose new file is in place its old state back, last first; a kept
// copy whose target still holds the old file goes. Returns what could not be put back.
std::string undoFiles(const std::vector<Staged>& files);

// Notes what settling found, for the next step to say.
void addNote(std::string text);

} // namespace trelvik::working::detail

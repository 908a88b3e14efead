#pragma once
// What the working-file names, the commit records and the settling of cut commits share
// (core/commit/); nothing outside the folder uses it.
#include "core/heldfolder.h"
#include "core/commit/workingfiles.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace trelvik::working::detail {

inline constexpr std::string_view kTag = ".trelvik-";
inline constexpr std::string_view kFileExt = ".tmp", kRecordExt = ".commit", kUndoExt = ".undo";
inline constexpr std::string_view kRecordBody = "commit";

// True when d is one or more decimal digits and nothing else.
inline bool digits(std::string_view d) {
    return !d.empty() && std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; });
}
// A character a system call would stop at or a status line could not show.
inline bool controlChar(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

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

// A folder as the settle's notes name it and as its quiet time and a results folder's
// data folder are kept by: absolute and in normal form.
std::filesystem::path plainFolder(const std::filesystem::path& folder);

// The records this process is committing or settling by now: a sweep in this process
// leaves them.
LiveNames& liveRecords();

// A commit record as the writer makes it: every path absolute.
struct Record {
    std::vector<std::string> folders;
    std::vector<Staged> files;
};
// The text of r as its copy in `base` holds it: every path relative to base, so that the
// record still names its files once the folder has been moved.
std::string recordText(const Record& r, const std::filesystem::path& base);
// No step writes a record larger than this; a larger file named as one is not read.
inline constexpr std::size_t kLargestRecord = 4u << 20;

// A commit record as read from its copy in a folder: its folders as it gives them (relative
// to that folder, or absolute in records of earlier runs), and each file of the commit by
// the folder that holds it and the plain names of its target, new file and kept copy.
struct ReadEntry {
    std::size_t folder = 0;
    std::string target, fresh, kept;  // kept empty: the target had no old file
    Staged ids;                       // the ids, sizes and times; its paths are unused
};
struct ReadRecord {
    std::vector<std::string> folders;
    std::vector<ReadEntry> entries;
};
// Parses a record's text; false for one cut short (its writer killed while writing it: no
// rename had begun) or not of the form. Every name is checked whole before anything uses
// it: a file is a plain name (no '/', not "." or "..") in one of the record's folders, a
// folder names no link and holds no "." or empty step, and no name holds a NUL or other
// control character; why says which does not hold, and is empty when all do.
bool parseRecord(std::string_view text, ReadRecord& r, std::string& why);
// s with every control character shown as '?': how a name from a record or a folder
// reaches a note, which a newline or an escape sequence would break or take over.
std::string shownName(std::string_view s);

// Whom a step obeys, decided in one place (core/commit/recordreader.cpp): a record, a copy
// of one in another folder, a copy cut short and a claim are obeyed only when nobody but
// the user could have written them: the user's own regular file, with one link, that
// neither group nor others may write. Anything else named as a record is left in place and
// named, with its owner.
bool obeyed(const struct stat& st);
// obeyed of the file `name` in folder, as it stands now.
bool obeyedIn(const HeldFolder& folder, std::string_view name);

// Reads the record `name` of dir under that rule: Gone when it has gone (another settler
// took it); NotTheUsersAlone when it is another user's, or the user's with a second link
// or permissions for group or others (st says whose); NotARecordFile when it is no file a
// step writes as a record (a pipe, a link, larger than any record, or unreadable: why
// says which); CutShort when its text is not a whole record; else Read, with st its state
// as read.
enum class Found { Read, Gone, NotTheUsersAlone, NotARecordFile, CutShort };
Found readRecordIn(const HeldFolder& dir, std::string_view name, ReadRecord& r, std::string& why, struct stat& st);

// A file of a commit as the settle and an undo reach it: plain names in a folder held open.
struct HeldFile {
    const HeldFolder* folder = nullptr;
    std::string target, fresh, kept;
    Staged ids;
    std::string shown;  // the name the user knows the target by, for messages
};

// True when st is of the file whose id was recorded as dev and ino; a recorded id of 0
// names no file.
inline bool sameId(const struct stat& st, std::uint64_t dev, std::uint64_t ino) {
    return ino != 0 && static_cast<std::uint64_t>(st.st_dev) == dev && static_cast<std::uint64_t>(st.st_ino) == ino;
}
// A file's time of last modification, and of last change (which no user tool can set),
// in nanoseconds.
inline std::int64_t timeOf(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
inline std::int64_t changeOf(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
}
// True when st is of h's old file as its target held it when the record was made.
bool holdsOld(const struct stat& st, const Staged& s);
// True when name in h's folder holds the commit's new file (by id), as a regular file.
bool isFresh(const HeldFile& h, const std::string& name);
// True when name holds the commit's new file as it was written. A rename sets the time of
// change, so a new file already in place is judged by its size and modification time.
bool freshAsWritten(const HeldFile& h, const std::string& name);
// True when h's kept copy is there and still the copy the commit made (by id, and by the
// old file's size and time when it is a second link of it): only then is it renamed or
// removed.
bool isKeptCopy(const HeldFile& h);
// A writer's own absolute paths as files held open, for its undo; folders gets the
// folders they are held by.
std::vector<HeldFile> heldFiles(const std::vector<Staged>& files, std::vector<HeldFolder>& folders);

// Gives each target whose new file is in place its old state back, last first; a kept
// copy whose target still holds the old file goes. A target whose new file was changed
// since stays, and is added to savedSince when given (a settle). Returns what could not be
// put back, and which files those are.
struct Undone {
    std::string left;
    std::vector<const HeldFile*> notPutBack;
};
Undone undoFiles(const std::vector<HeldFile>& files, std::vector<const HeldFile*>* savedSince = nullptr);

// The notes' wording (core/commit/commitnotes.cpp): a file as a note in dir names it, a
// list of them, the lead of a note about a commit cut short in dir and its last sentence.
std::string shownIn(const std::filesystem::path& dir, const HeldFile& h);
std::string listed(const std::filesystem::path& dir, const std::vector<HeldFile>& files);
std::string leadIn(const std::filesystem::path& dir);
std::string endsNote(const std::string& record);
// A file named as a record that no step of the program could have written, and why.
void noteForeign(const std::string& record, const std::string& why);
// The records and claims in dir that are not obeyed, by owner, each with why
// (whyNotObeyed): another user's are that user's run's to settle and are only said to be
// there; the user's own are said with why they are passed over and what to do.
using OthersFiles = std::map<uid_t, std::map<std::string, std::string>>;
std::string whyNotObeyed(const struct stat& st);
void noteOtherUsers(const std::filesystem::path& dir, const OthersFiles& others);
// A commit that cannot be settled as its folder cannot be written (err): which files hold its
// new content, which are as before it and which were saved since.
void noteUnsettled(const std::filesystem::path& dir, const HeldFolder& folder, const std::vector<HeldFile>& fresh,
                   const std::vector<HeldFile>& old, const std::vector<HeldFile>& saved, int err);

// Notes what settling found, for the step that ran into it to say, and the files it put
// in place or back.
void addNote(std::string text);
void addSettled(const std::string& path);
// True when the step has met `what` already (mark: from now on), until its notes are
// taken: a record it left as it stands, a settle under way it waited for.
bool metInThisStep(const std::string& what, bool mark = false);

} // namespace trelvik::working::detail

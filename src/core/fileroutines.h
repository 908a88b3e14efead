#pragma once
// File routines shared by every reader and writer.
//
//  DirExists(path)    true when path names an existing folder; false otherwise, also
//                     when it cannot be examined. Never throws.
//  FileExists(path)   true when path, walked as a read walks it (core/heldfolder.h),
//                     names an existing item that is not a folder, once the commits a
//                     kill cut short in its folder are settled.
//  ConvertLineEnds    copies InFile to OutFile with normalised line ends: CR LF, CR and
//                     bare LF all end a line; with toCRLF every line is written with CR LF,
//                     otherwise with LF (an unterminated last line gets one too). OutFile
//                     is replaced whole (temp file + rename). With deleteInput, InFile is
//                     removed after a good copy, unless it is OutFile itself. A failure
//                     shows one message through the prompt ("Error: <description>", new
//                     line, "Number: <n>"), leaves InFile and any old OutFile as they were,
//                     and returns false.
//  readWholeFile      the bytes of a file, once the commits a kill cut short in its folder
//                     are settled (core/commit/workingfiles.h); throws trelvik::Error
//                     naming the file. readFileAsItStands reads them without settling anything.
//  InputFile          every reader's way in: the path is walked a held folder at a time,
//                     following only the links core/heldfolder.h trusts, and the file is
//                     opened only when it is a regular file of at most kLargestInput
//                     bytes: by its name in the folder the walk holds, without following a
//                     link or waiting (a pipe with no writer would hold the step for good),
//                     and kept only while it is, by id, the file judged. A pipe, a device
//                     (also through a link), a folder, a larger file or another user's link
//                     is refused before a byte is read, by a trelvik::Error naming the file
//                     and why.
//  ReplacementFile    the temporary file behind every writer that replaces a file: made
//                     beside the target under a working name that tells which writer made
//                     it, on which host (".<name>.trelvik-<host>-<pid>-<n>-<check>.tmp",
//                     core/commit/workingfiles.h), with the replaced file's permissions
//                     when it is the user's own (the user's usual ones otherwise). It is
//                     made new (O_EXCL) in the folder the walk to the target holds, and
//                     renamed over the target there: never opened through a link or over
//                     anything put at its name, which is passed over for another name.
//                     Through a link the walk trusts it replaces what the link points at,
//                     so the link stays a link; another user's link, at the name or on the
//                     way, is refused, naming it and its owner, before anything is written.
//                     Before it is made,
//                     whatever writers on this host that have ended left in the folder is
//                     cleared, whatever they were writing:
//                     their commits finished or undone, then their working files removed
//                     (only names of exactly that form). finish() syncs it to disk and
//                     closes it, commit() renames it over the target; a temporary never
//                     committed is removed. Given the working name of a set's file
//                     (StagedFiles::work, core/commit/commit.h) it writes that file where it
//                     is, leaving its sync and rename to the set's commit.
//  newWorkingFile     makes an empty file under a new working name beside target, as a
//                     ReplacementFile makes its temporary, and returns that name.
//  writeFileAtomic    replaces path with content through a ReplacementFile.
//  appendFileAtomic   appends text in one piece: the old table and the text are written
//                     to a temporary that replaces the file, so a failure or a kill leaves
//                     the old table or the table with all of the text. An old table whose
//                     last line has no end (torn by an earlier, unsafe append) gets one
//                     first, so no row is joined to another.
//  AtomicTextWriter   builds a text file in a ReplacementFile; commit() renames it over the
//                     target, an uncommitted writer removes it.
//  appendedContent    path's content with text after it, as appendFileAtomic writes it.
//  A set of files put in place together, and commitTogether, are the commit's
//  (core/commit/commit.h), which builds on these routines.
#include "core/error.h"
#include "core/heldfolder.h"
#include "core/progress.h"
#include "core/prompt.h"

#include <cstdint>
#include <cstdio>
#include <sys/types.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik {

bool DirExists(const std::string& path);
bool FileExists(const std::string& path);

// How an input stands, judged as its reader will judge it, once the commits a kill cut
// short in its folder are settled: Missing when nothing is at its name (or a folder on the
// way to it is missing), Refused when the reader would refuse it (a folder, a pipe, a
// device, another user's link, too large, unreadable); `why` then holds the reader's own
// message.
enum class InputState { Readable, Missing, Refused };
InputState judgeInput(const std::string& path, std::string& why);
// Why a save to path would be refused before anything is written (a link of another user
// at its name or on the way to it), in the save's own words; empty when it would not.
std::string saveRefusal(const std::string& path);
// Makes the folder dir (and any folder missing on the way to it), every step walked as a
// save walks: a name that holds a link of another user is refused, not taken for the
// folder. Throws trelvik::Error: `cannot` + ": " + why. A commit in it is settled with
// the folder it is made in (core/commit/workingfiles.h).
void makeFolder(const std::string& dir, const std::string& cannot);
// Removes the file at path (a link there, not what it points at), reached as a save
// reaches it; 0 when done or nothing was there, else the error number.
int removeFile(const std::string& path);

bool ConvertLineEnds(const std::string& inFile, const std::string& outFile, long toCRLF, bool deleteInput,
                     Prompt& prompt);

std::string readWholeFile(const std::string& path);
std::string readFileAsItStands(const std::string& path);
std::string newWorkingFile(const std::string& target);
void writeFileAtomic(const std::string& path, std::string_view content);
void appendFileAtomic(const std::string& path, std::string_view text);
std::string appendedContent(const std::string& path, std::string_view text);

// Line end written by the system's writers.
inline constexpr std::string_view kCRLF = "\r\n";

// The largest file any reader takes: several times the text of the biggest scans (a cloud
// of ten million points, a 2000 x 2000 grid as text), while the file, and what is parsed
// from it, still fits in the memory of an ordinary machine.
inline constexpr std::uint64_t kLargestInput = std::uint64_t{2} << 30;

class InputFile {
public:
    // Throws trelvik::Error: cannotOpen (when given) or "Cannot open "<path>": <err>" when
    // the file cannot be opened; "Cannot read "<path>": <why>" when it is refused.
    explicit InputFile(const std::string& path, const std::string& cannotOpen = {});
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Blocking and close-on-exec; valid until release() or destruction.
    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }
    // Hands the descriptor to the caller (a library that closes it itself).
    int release();
    // The file as a stdio stream, which the caller closes.
    std::FILE* releaseAsStream();
    // Every byte from the descriptor's position on.
    std::string readAll();

private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

class ReplacementFile {
public:
    // Throws trelvik::Error naming path when the temporary cannot be made.
    explicit ReplacementFile(std::string path);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Open for reading and writing until finish(); a library that wants a descriptor
    // of its own gets a dup() of it.
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    const std::string& tempPath() const { return temp_; }
    // What the temporary replaces: path(), or the file a symbolic link there points at.
    const std::string& target() const { return target_; }

    // Writes all of data at the descriptor's position.
    void write(std::string_view data);
    // Syncs the temporary to disk and closes it. Throws trelvik::Error naming the file.
    void finish();
    // finish() when not yet done, then renames the temporary over the target, and, unless
    // told not to (a set renames several, then syncs their folder once), makes the rename
    // durable.
    void commit(bool syncFolder = true);
    // Makes this the working file of a set (StagedFiles::work): closed now, written where
    // it is by any writer given its working name, and synced by finish().
    void stage();
    bool durable() const;
    // Removes the temporary and throws trelvik::Error: "Cannot write "<path>" (what): <err>".
    [[noreturn]] void fail(const std::string& what, int err);

    // The folder the target and its temporary are in, held since the walk to it.
    std::shared_ptr<const HeldFolder> folder() const { return folder_; }

private:
    std::string path_;
    std::string target_;  // path_, or what it links to
    std::string temp_;
    std::shared_ptr<HeldFolder> folder_;
    std::string name_, tempName_;  // target_'s and temp_'s names in folder_
    int fd_ = -1;
    bool finished_ = false, committed_ = false;
    bool staged_ = false;   // the working file of a set
    bool inPlace_ = false;  // writes a set's working file where it is
};

class AtomicTextWriter;
void commitTogether(AtomicTextWriter& first, AtomicTextWriter& second);

class AtomicTextWriter {
public:
    explicit AtomicTextWriter(std::string path);
    AtomicTextWriter(const AtomicTextWriter&) = delete;
    AtomicTextWriter& operator=(const AtomicTextWriter&) = delete;

    void write(std::string_view text);
    // text followed by CR LF
    void line(std::string_view text);
    // Writes what is buffered, syncs and closes the temporary, leaving the target as it
    // was; throws trelvik::Error on failure. Nothing may be written after it.
    void finish();
    // finish() when not yet done, then renames over the target.
    void commit();
    const std::string& path() const { return file_.path(); }

private:
    friend void commitTogether(AtomicTextWriter& first, AtomicTextWriter& second);
    ReplacementFile file_;
    std::string buffer_;
    bool finished_ = false;
};

} // namespace trelvik

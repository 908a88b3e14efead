#pragma once
// Working files: what a writer makes beside the files it replaces, the record a commit of
// several files keeps while it renames them, and the sweep that clears what a writer
// left when it ended without finishing (killed, say). The file routines
// (core/fileroutines.h) and the private folders (core/tempfiles.h) build on it.
//
// A writer is named in every name it makes by a stamp "<host>-<pid>-<n>-<check>": this
//   machine's name made safe for a file name (letters, digits and '-' kept, anything
//   else '_', at most 64 bytes), the process, a number drawn afresh for each name that no
//   one can foresee (so no one sharing the folder can take a name ahead of the writer),
//   and 16 hex digits of a hash of the whole name up to the check. A name counts as ours
//   only when all of it has the form and its check agrees, so a user's file that merely
//   looks like one is never taken for one. A writer has ended when it is of this host and no
//   process of its number runs here; a writer of another host sharing the folder is
//   never judged ended.
// Working file: ".<name>.trelvik-<stamp>.tmp" beside the target <name>. A name too long
//   for the folder is cut at a character boundary and followed by "." and a hash of the
//   whole name.
// Commit record: ".commit.trelvik-<stamp>.commit", written and synced in the folder of
//   every file of a commit before its first rename, listing each target, its new
//   working file and the kept copy of its old file, with the ids, sizes and times of the
//   new file, the old file and its kept copy; ".undo" in place of ".commit" once the
//   commit is being undone. A settler claims a record by renaming it to
//   ".commit.trelvik-<stamp>.trelvik-<its own stamp>.commit", keeping the writer's stamp.
//
// tidyFolder(dir), run by every writer before it makes a working file in dir:
//   - the folder's cut commits are settled (settleFolder);
//   - then every working file of the user's own of an ended writer goes, whatever it was
//     writing, except those a record still in the folder names (records claimed
//     meanwhile included), and every one of a writer whose record is not obeyed: a kept
//     old file may be the only copy.
//
// settleFolder(dir), run by tidyFolder, before any file is read (settleBeforeReading) and
// when a step asks whether a file exists, so that no step reads a folder a kill left
// half replaced: records of ended writers (or of this process, left by a failed
// put-back) are finished, one settler per commit, however many folders it spans: the
// copy in its first folder is the one claimed. A settle under way elsewhere (another
// thread or process of the user) is waited for, a few seconds at most, once a step (until
// its notes are taken); the note names its claim if it does not end.
//   - The settle obeys a record (a copy of it in another folder, a copy cut short, a
//     claim) only when nobody but the user the program runs as could have written it:
//     that user's own regular file, with one link, that neither group nor others may write,
//     no larger than any record a step writes (core/commit/recordreader.cpp, the one
//     place that decides). Every record and copy is made so, 0600 whatever the umask,
//     or as a disk without Unix permissions allows, whose refusal of the change is no
//     failure.
//     The files a record obeyed names are renamed or removed, whoever owns them, only
//     while each is still, by id (and size and time where the record has them), the file
//     the record names. Anything else named as a record or claim (another user's, one of
//     the user's with a second link or open to others) is left as it is, and named once
//     with its owner; another user's live claim too. Every name a
//     record gives is checked whole (no NUL or other control character; each file a plain
//     name in one of its folders, every folder of which holds a copy of it), and each new
//     file and kept copy it names is a working file of its own writer; any other record
//     is left as it is, and named. Every stat, rename and removal goes through the
//     folders held open once (core/heldfolder.h), never through a link.
//   - rolled forward when the record is not being undone and every new file is in place
//     or still waiting under its working name while its target holds the old file (or
//     none, where there was none). A target that holds anything else (a file saved over
//     it, a link, a folder, or the new file changed since: judged by id, size and times)
//     keeps what is there: its new file is dropped and the rest goes forward;
//   - undone otherwise (each target given back its kept old file, or removed where there
//     was none; a target whose new file was changed since stays as it is);
//   - then removed. A record that cannot be settled (something else holds a target, or
//     its files' ids changed, as on a drive mounted anew) stays, with the kept copies it
//     names, for the next writer; the note names the record, whose removal ends it.
//   - in a folder the user cannot write nothing can be settled: the note says which files
//     hold the new content and which the old. A claim never given up is said. On a file
//     system that cannot rename without replacing (exFAT or NTFS through FUSE), a name is
//     first taken by a file made where no name is (HeldFolder::renameNew).
//   A folder found holding no record is not listed again while its time of change (which
//   no one can set back) stands; one whose records were all met is listed once a step.
//   Names from a folder or a record reach the notes with control characters as '?'.
//   A record names its files relative to its folder, so it is settled wherever the folder
//   has been moved. Each outcome is noted for the step that ran into it to say
//   (takeSettleNotes), with the files the settle put in place (putInPlaceBySettling), which are
//   not the step's own.
#include "core/heldfolder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::working {

// This machine's name as the stamps carry it.
const std::string& hostName();

// The stamped name `lead` + "<host>-<pid>-<n>-<check>", and the test of one: true when
// `name` is such a name made with this host, a lead ending in `leadEnd`, by a writer that
// has ended.
std::string stamped(std::string lead, const std::string& host, long pid, unsigned long n);
bool madeByEndedWriter(std::string_view name, std::string_view leadEnd);

// A number for a stamp that no one can foresee, from the system's random source.
unsigned long unforeseen();
// A new working name beside target, for this process, never given before.
std::string newName(const std::filesystem::path& target);
// The working file name a writer (host, pid, n) would give target's name in a folder
// whose names may be `limit` bytes long.
std::string workingFileName(const std::string& targetName, const std::string& host, long pid, unsigned long n,
                            std::size_t limit = 255);

void tidyFolder(const std::filesystem::path& dir);
void settleFolder(const std::filesystem::path& dir);
// settleFolder of a folder a walk holds (dir: the path it was reached by); false when the
// folder was found as it was left, with nothing to settle.
bool settleHeldFolder(const std::filesystem::path& dir, const HeldFolder* held);
// settleFolder of the folder that holds file, unless it is a private folder of this run.
void settleBeforeReading(const std::string& file);

// What settling has found since the last call, one sentence per commit and per file left
// as saved, for the status line of the step that ran into it; empty when nothing.
std::string takeSettleNotes();
// True when path is a file that settling has put in place or back since the last
// takeSettleNotes, still as the settle left it (size and time of modification): the
// killed step's file, not the file of the step that ran into it.
bool putInPlaceBySettling(const std::filesystem::path& path);


// Names this process is using now (its private folders, its commit records), shared
// between threads: a sweep in this process passes over them.
class LiveNames {
public:
    void set(const std::string& name, bool on) {
        std::lock_guard<std::mutex> g(lock_);
        if (on) names_.insert(name);
        else names_.erase(name);
    }
    bool has(const std::string& name) const {
        std::lock_guard<std::mutex> g(lock_);
        return names_.count(name) > 0;
    }

private:
    mutable std::mutex lock_;
    std::set<std::string> names_;
};

// A results folder the program makes under a data folder (the CSV viewer's slope/ and
// savol/, a regrid's folders): a commit in it keeps a copy of its record in the data
// folder too, so a step reading the data folder settles it. madeFolderOwner: the data
// folder, or empty.
void madeFor(const std::string& folder);
std::string madeFolderOwner(const std::string& folder);

// The private working folders of this run (core/tempfiles.h), whose files go with them:
// nothing in them is settled or synced.
LiveNames& livePrivateFolders();

// The record of one commit; the files must be complete on disk.
struct Staged {
    std::string target;  // what the new file replaces
    std::string fresh;   // the new file, under its working name
    std::string kept;    // the old file's kept copy; empty when there is none
    std::string shown;   // the name the user knows target by, for messages
    // The folder that holds all three, as the writer's walk reached it; the commit goes
    // through it rather than finding the folder again by name. Empty: walked to by the record.
    std::shared_ptr<const HeldFolder> held;
    // Filled in by the record: the new file's id, which it keeps when renamed, and the
    // old file's, to tell whether the target still holds it; with their sizes (-1: not
    // known) and times of modification and of change (0: not known), as an edit in place
    // keeps the id; and the kept copy's id, to tell it is still the copy made.
    std::uint64_t dev = 0, ino = 0, oldDev = 0, oldIno = 0;
    std::int64_t oldSize = -1, oldTime = 0, oldChange = 0;
    std::int64_t size = -1, time = 0, change = 0;
    std::uint64_t keptDev = 0, keptIno = 0;
};

// Removes the kept copies of old files, once they are no longer needed.
void removeKeptCopies(const std::vector<Staged>& files);

class CommitRecord {
public:
    // Writes and syncs the record beside every target; throws trelvik::Error.
    explicit CommitRecord(std::vector<Staged> files);
    ~CommitRecord();
    CommitRecord(const CommitRecord&) = delete;
    CommitRecord& operator=(const CommitRecord&) = delete;
    // Every file renamed: removes the record, then the kept copies.
    void finished();
    // A rename failed: gives every target renamed so far its old state back. Returns
    // what could not be put back, naming each file and where its old content is; then the
    // record stays, so those copies are kept and the next writer in the folder tries again.
    std::string undo();

private:
    std::vector<Staged> files_;
    std::string name_;                 // the record's file name
    struct Copy {
        HeldFolder folder;
        std::string name;
    };
    std::vector<Copy> copies_;  // the record in each folder
    bool settled_ = false;
};

} // namespace trelvik::working

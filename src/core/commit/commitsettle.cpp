// Settling the commits that a kill cut short (core/commit/workingfiles.h): finished or undone
// by the next step that reads or writes in their folder, and noted for it to say. Whose
// records are obeyed is decided where they are read (core/commit/recordreader.cpp); how a
// commit's files are given back is core/commit/commitundo.cpp; every stat, rename and
// removal goes through folders held open (core/heldfolder.h).
#include "core/commit/workingfiles.h"
#include "core/commit/testhooks.h"
#include "core/commit/workingfiles_detail.h"
#include "core/samefile.h"


#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace trelvik::working {

namespace fs = std::filesystem;
using namespace detail;

namespace {

// Folders found holding no record, by their time of last change: a record made since
// changes it. Only a time well in the past is trusted, as a folder's time may be coarse.
std::mutex quietLock;
std::map<std::string, std::int64_t> quietFolders;
constexpr std::int64_t kTrustedAge = 2'000'000'000;  // nanoseconds
// How long a step waits for a settle under way in its folder by another thread or run.
constexpr auto kWaitForSettler = std::chrono::seconds(5);
// How many names a settler tries for its claim, each taken by a file already there: its
// names cannot be foreseen, so one taken is a rare accident.
constexpr int kClaimNames = 16;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// While a settler holds a record under these names, no other thread of this process takes it.
class LiveWhileSettling {
public:
    explicit LiveWhileSettling(std::vector<std::string> names) : names_(std::move(names)) {
        for (const std::string& n : names_) liveRecords().set(n, true);
    }
    ~LiveWhileSettling() {
        for (const std::string& n : names_) liveRecords().set(n, false);
    }
    LiveWhileSettling(const LiveWhileSettling&) = delete;
    LiveWhileSettling& operator=(const LiveWhileSettling&) = delete;

private:
    std::vector<std::string> names_;
};

// How a target of a cut commit stands now.
enum class Now {
    InPlace,  // holds the new file as it was written
    Waiting,  // the new file waits under its working name; the target holds the old file or none
    SavedOver,  // holds anything else: a file saved since, a link, a folder, the new file changed
    Lost,  // the new file is neither in place nor waiting
};

Now nowOf(const HeldFile& h) {
    if (isFresh(h, h.target)) return freshAsWritten(h, h.target) ? Now::InPlace : Now::SavedOver;
    struct stat st{};
    if (h.folder->stat(h.target, st) && !holdsOld(st, h.ids)) return Now::SavedOver;
    return freshAsWritten(h, h.fresh) ? Now::Waiting : Now::Lost;
}

// A commit with a folder the user cannot write: nothing can be settled, so the step is told
// which files are new, which old and which saved since before it reads them.
void noteUnwritable(const fs::path& dir, const HeldFolder& folder, const std::vector<HeldFile>& files, int err) {
    std::vector<HeldFile> fresh, old, saved;
    for (const HeldFile& h : files) {
        const Now now = nowOf(h);
        (now == Now::InPlace ? fresh : now == Now::SavedOver ? saved : old).push_back(h);
    }
    noteUnsettled(dir, folder, fresh, old, saved, err);
}

// A file as it stands: its folder, name, id, size and times.
std::string stateKey(const fs::path& dir, const std::string& name, const struct stat& st) {
    return (dir / name).string() + "|" + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" +
           std::to_string(st.st_size) + ":" + std::to_string(timeOf(st)) + ":" + std::to_string(changeOf(st));
}

bool recordLike(std::string_view n) {
    return n.size() > 1 && n.front() == '.' && (n.ends_with(kRecordExt) || n.ends_with(kUndoExt));
}

// A record as read from one of its copies, with its folders held open and its files
// reached through them.
struct Commit {
    ReadRecord record;
    std::vector<HeldFolder> folders;
    std::vector<HeldFile> files;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> copies;  // the id of its copy in each other folder
};

// The names in folder of copies of the record o names, claimed or not, whoever's they are.
std::vector<std::string> copiesOf(const HeldFolder& folder, const Origin& o) {
    std::vector<std::string> names;
    folder.names(
        [&o](std::string_view n) {
            Origin other;
            return originOf(n, other) && other.stem == o.stem;
        },
        names);
    return names;
}

// The names in folder of the copies of the record o names that are obeyed, claimed or
// not. The writer's own names first: a listing made while another settler renames the
// copy to its claim may hold neither name.
std::vector<std::string> obeyedCopiesOf(const HeldFolder& folder, const Origin& o) {
    std::vector<std::string> names;
    for (std::string_view ext : {kRecordExt, kUndoExt})
        if (obeyedIn(folder, o.stem + std::string(ext))) names.push_back(o.stem + std::string(ext));
    for (std::string& n : copiesOf(folder, o))
        if (std::find(names.begin(), names.end(), n) == names.end() && obeyedIn(folder, n)) names.push_back(std::move(n));
    return names;
}

// True when r, read from its copy in folder, is the commit c: the same folders on disk and
// the same files by name and id. A record need only borrow a commit's name to name its
// folder, and must neither count as that commit's copy nor have it removed.
bool sameCommit(const HeldFolder& folder, const ReadRecord& r, const Commit& c) {
    if (r.folders.size() != c.folders.size() || r.entries.size() != c.record.entries.size()) return false;
    for (std::size_t i = 0; i < r.folders.size(); ++i) {
        const std::string& f = r.folders[i];
        if (!folder.within(f).sameAs(c.folders[i])) return false;
    }
    const auto ids = [](const ReadEntry& e) {
        const Staged& s = e.ids;
        return std::tie(e.folder, e.target, e.fresh, e.kept, s.dev, s.ino, s.oldDev, s.oldIno, s.oldSize, s.oldTime,
                        s.oldChange, s.size, s.time, s.change, s.keptDev, s.keptIno);
    };
    return std::equal(r.entries.begin(), r.entries.end(), c.record.entries.begin(),
                      [&ids](const ReadEntry& a, const ReadEntry& b) { return ids(a) == ids(b); });
}

// The id of folder's own copy of the commit c, whose record o names; {0, 0} when it holds
// none. A copy cut short as it was written is the writer's own, as no one else can make a
// file of the user's.
std::pair<std::uint64_t, std::uint64_t> copyIn(const HeldFolder& folder, const Origin& o, const Commit& c) {
    // A copy renamed as it is read, by another settler claiming it, is looked for again; a
    // few times, as anyone who may write the folder can rename it.
    bool renamed = true;
    for (int round = 0; renamed && round < 8; ++round) {
        renamed = false;
        for (const std::string& name : obeyedCopiesOf(folder, o)) {
            ReadRecord r;
            std::string why;
            struct stat st{};
            const Found found = readRecordIn(folder, name, r, why, st);
            renamed = renamed || found == Found::Gone;
            if (found == Found::CutShort || (found == Found::Read && why.empty() && sameCommit(folder, r, c)))
                return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
        }
    }
    return {0, 0};
}

// Holds the folders of a record read in base and checks what it names; why is empty when
// the record asks only what the program's own writer asks.
std::string prepare(const HeldFolder& base, const Origin& o, Commit& c) {
    for (const std::string& f : c.record.folders) {
        HeldFolder held = base.within(f);
        if (!held) return "it names \"" + (base.path() / f).lexically_normal().string() + "\", which is not a folder";
        c.folders.push_back(std::move(held));
    }
    const auto byWriter = [&o](const std::string& name) {
        Writer w;
        return kindOf(name, w) == Kind::File && w.pid == o.writer.pid && w.host == o.writer.host;
    };
    bool self = false;
    for (const HeldFolder& f : c.folders) {
        c.copies.push_back({0, 0});
        if (f.sameAs(base)) self = true;
        else if ((c.copies.back() = copyIn(f, o, c)).second == 0)
            return "it names \"" + f.path().string() + "\", which holds no copy of it";
    }
    if (!self) return "it does not name the folder that holds it";
    for (const ReadEntry& e : c.record.entries) {
        if (!byWriter(e.fresh) || (!e.kept.empty() && !byWriter(e.kept))) return "it names files that its writer did not make";
        c.files.push_back({&c.folders[e.folder], e.target, e.fresh, e.kept, e.ids, {}});
        c.files.back().shown = c.files.back().folder->pathOf(e.target);
    }
    return {};
}

enum class Outcome { Done, Busy };

// A settler's hold on a commit: the copy of its record in the commit's first folder,
// renamed to a name of this settler's, so that one settler takes a commit however many
// folders hold its record.
struct Claim {
    std::string from;  // the name it had
    std::string name;  // the name it has now; empty when not claimed
    bool undoing = false;
};

// Claims only copies that are obeyed, by their exact names; busy names a claim of a live
// settler of this host that has it.
Outcome claim(const fs::path& dir, const Commit& commit, const Origin& o, Claim& c, std::string& busyClaim) {
    LiveNames& live = liveRecords();
    const HeldFolder& first = commit.folders.front();
    std::vector<std::pair<std::string, bool>> candidates;  // and whether each is being undone
    bool busy = false;
    for (const std::string& name : copiesOf(first, o)) {
        struct stat st{};
        if (!first.stat(name, st)) {
            busy = true;  // taken since the listing: look again for whoever has it
            continue;
        }
        if (!obeyed(st)) continue;  // not the user's alone: named where it is read
        if (st.st_size == 0) continue;  // a name taken ahead of a rename a kill stopped: no record
        Origin other;
        Writer w;
        const Kind kind = kindOf(name, w);
        originOf(name, other);
        if (other.claimed && !ended(w) && !(isMine(w) && !live.has(name))) {
            if (w.host == hostName()) busyClaim = first.pathOf(name);
        } else {
            candidates.emplace_back(name, kind == Kind::Undo);
        }
    }
    busy = busy || !busyClaim.empty();
    // Every folder of the commit is written in, to finish it or undo it.
    for (const HeldFolder& f : commit.folders)
        if (!candidates.empty() && ::faccessat(f.fd(), ".", W_OK, 0) != 0) {
            noteUnwritable(dir, f, commit.files, errno);
            return Outcome::Done;
        }
    for (const auto& [name, undoing] : candidates) {
        // Never over a file that is there: someone sharing the folder may have put one there.
        int err = EEXIST;
        for (int tries = 0; err == EEXIST && tries < kClaimNames; ++tries) {
            const std::string claimedName =
                newStampedName(o.stem.substr(1), first.path(), undoing ? kUndoExt : kRecordExt);
            live.set(claimedName, true);
            live.set(withExt(claimedName, kUndoExt), true);
            c = {name, claimedName, undoing};
            err = first.renameNew(name, first, claimedName);
            if (err == 0) return Outcome::Done;
            live.set(claimedName, false);
            live.set(withExt(claimedName, kUndoExt), false);
        }
        c.name.clear();
        if (err == EACCES || err == EPERM || err == EROFS) {
            noteUnwritable(dir, first, commit.files, err);
            return Outcome::Done;
        }
        if (err == ENOENT) {
            busy = true;  // taken meanwhile: look again for whoever has it
            continue;
        }
        // Never given up without a word: the commit stays as the kill left it.
        addNote(leadIn(dir) + "could not be settled, as its record \"" + first.pathOf(name) + "\" could not be claimed (" +
                (err == EEXIST ? std::string("every name tried was taken") : std::strerror(err)) + ")." +
                endsNote(first.pathOf(name)));
        return Outcome::Done;
    }
    return busy ? Outcome::Busy : Outcome::Done;
}

// Finishes the commit of an ended writer: forward when the record is not being undone and
// every new file is in place, waiting, or kept out by something put at its target since;
// else back. The record stays when anything could not be settled.
void settleClaimed(const fs::path& dir, const HeldFolder& first, const Claim& c, const Origin& o) {
    std::string claimed = c.name;
    const auto giveBack = [&] { first.renameNew(claimed, first, c.from); };
    if (afterClaim) afterClaim(dir);
    Commit commit;
    std::string why;
    struct stat st{};
    if (readRecordIn(first, claimed, commit.record, why, st) != Found::Read) return giveBack();
    if (why.empty()) why = prepare(first, o, commit);
    if (!why.empty()) {
        giveBack();
        return noteForeign(first.pathOf(c.from), why);
    }
    const std::vector<HeldFile>& files = commit.files;
    const std::string lead = leadIn(dir);
    std::vector<Now> now;
    bool known = false;
    for (const HeldFile& h : files) {
        now.push_back(nowOf(h));
        known = known || isFresh(h, h.target) || isFresh(h, h.fresh);
    }
    if (!c.undoing && !known) {
        // None of the files it wrote is there by its id (the folder is a copy, or its
        // drive was mounted anew): what the folder holds now cannot be told apart from
        // files saved since, so nothing is touched, and the record stays with its copies.
        std::string where;
        for (const HeldFile& h : files)
            if (!h.kept.empty())
                where += "; the old content of \"" + shownIn(dir, h) + "\" is in \"" + h.folder->pathOf(h.kept) + "\"";
        giveBack();
        return addNote(lead + "could not be finished or undone: the files it names are no longer the ones it wrote" +
                       where + "." + endsNote(first.pathOf(c.from)));
    }
    const auto savedSince = [&dir](const HeldFile& h, const std::string& tail) {
        addNote("\"" + shownIn(dir, h) + "\" was left as it was saved after that step was cut short" + tail + ".");
    };
    bool forward = !c.undoing && std::find(now.begin(), now.end(), Now::Lost) == now.end();
    for (std::size_t i = 0; forward && i < files.size(); ++i) {
        const HeldFile& h = files[i];
        if (now[i] == Now::Waiting) forward = h.folder->rename(h.fresh, *h.folder, h.target) == 0;
    }
    if (forward) {
        std::vector<HeldFile> finished;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const HeldFile& h = files[i];
            if (now[i] != Now::SavedOver) {
                finished.push_back(h);
                addSettled(h.folder->pathOf(h.target));
                continue;
            }
            if (isFresh(h, h.fresh)) h.folder->remove(h.fresh);
            savedSince(h, "; the step's new file for it was dropped");
        }
        for (const HeldFile& h : files)
            if (isKeptCopy(h)) h.folder->remove(h.kept);
        if (!finished.empty())
            addNote(lead + "was finished: " + listed(dir, finished) +
                    (finished.size() == 1 ? " holds its new file." : " hold its new files."));
    } else {
        if (!c.undoing) {
            const std::string marked = withExt(claimed, kUndoExt);
            if (first.renameNew(claimed, first, marked) == 0) claimed = marked;
        }
        std::vector<const HeldFile*> kept;
        const Undone undone = undoFiles(files, &kept);
        for (const HeldFile* h : kept) savedSince(*h, "");
        for (const HeldFile& h : files)
            if (!h.kept.empty() && h.folder->stat(h.target, st) && sameId(st, h.ids.keptDev, h.ids.keptIno))
                addSettled(h.folder->pathOf(h.target));
        std::vector<HeldFile> asBefore;
        for (const HeldFile& h : files) {
            const auto is = [&h](const HeldFile* k) { return k == &h; };
            if (std::none_of(kept.begin(), kept.end(), is) &&
                std::none_of(undone.notPutBack.begin(), undone.notPutBack.end(), is))
                asBefore.push_back(h);
        }
        const std::string before =
            asBefore.empty() ? std::string()
                             : listed(dir, asBefore) + (asBefore.size() == 1 ? " is as it was" : " are as they were") +
                                   " before it";
        if (!undone.left.empty()) {
            // Under the writer's own name again, for the next writer in the folder to try.
            const std::string left = o.stem + std::string(kUndoExt);
            if (first.renameNew(claimed, first, left) == 0) claimed = left;
            return addNote(lead + "could not be finished or undone: " + (before.empty() ? "" : before + "; ") +
                           undone.left + "." + endsNote(first.pathOf(claimed)));
        }
        if (!asBefore.empty()) addNote(lead + "was undone: " + before + ".");
    }
    // The other folders' copies first: while the claimed one is there, a settler killed
    // now is followed by another. Each only while it is still the copy found.
    for (std::size_t i = 0; i < commit.folders.size(); ++i) {
        const HeldFolder& f = commit.folders[i];
        const auto [copyDev, copyIno] = commit.copies[i];
        if (!f.sameAs(first))
            for (std::string_view ext : {kRecordExt, kUndoExt})
                if (f.stat(o.stem + std::string(ext), st) && sameId(st, copyDev, copyIno))
                    f.remove(o.stem + std::string(ext));
    }
    first.remove(claimed);
}

// Settles the record `name` found in dir, whose writer has ended.
Outcome settle(const fs::path& dir, const HeldFolder& base, const std::string& name, std::string& busyClaim,
               OthersFiles& others) {
    Origin o;
    if (!originOf(name, o)) return Outcome::Done;
    const std::string path = base.pathOf(name);
    Commit commit;
    std::string why;
    struct stat st{};
    switch (readRecordIn(base, name, commit.record, why, st)) {
    case Found::Gone:
        // Claimed by another settler since the listing, who may be at work still, when a
        // copy of the user's is there under another name; else gone for good.
        return obeyedCopiesOf(base, o).empty() ? Outcome::Done : Outcome::Busy;
    case Found::NotTheUsersAlone:
        others[st.st_uid][path] = whyNotObeyed(st);
        return Outcome::Done;
    case Found::NotARecordFile:
        noteForeign(path, why);
        return Outcome::Done;
    case Found::CutShort: {
        // Cut short while it was written, so no rename had begun: nothing to settle. A claim
        // is a whole record renamed, so one cut short is the empty file that took its name
        // ahead of a rename a kill stopped (HeldFolder::renameNew), removed while it is still
        // that file: a settler giving a record back may be renaming it there now.
        struct stat now{};
        if (!o.claimed || (base.stat(name, now) && sameFile(now, st) && now.st_size == 0)) base.remove(name);
        return Outcome::Done;
    }
    case Found::Read:
        break;
    }
    if (afterRecordRead) afterRecordRead(dir);
    if (why.empty()) why = prepare(base, o, commit);
    if (!why.empty()) {
        // A record that went while it was read was taken by another settler: its to say.
        struct stat still{};
        if (!base.stat(name, still) || !sameFile(still, st)) return Outcome::Busy;
        noteForeign(path, why);
        return Outcome::Done;
    }
    Claim c;
    const Outcome outcome = claim(dir, commit, o, c, busyClaim);
    if (c.name.empty()) return outcome;
    const LiveWhileSettling held({c.name, withExt(c.name, kUndoExt)});  // set live by claim()
    settleClaimed(dir, commit.folders.front(), c, o);
    return Outcome::Done;
}

} // namespace

void settleFolder(const fs::path& folder) { settleHeldFolder(folder, nullptr); }

bool settleHeldFolder(const fs::path& folder, const HeldFolder* held) {
    const fs::path dir = plainFolder(folder);
    struct stat st{};
    if ((held ? ::fstat(held->fd(), &st) : ::stat(dir.c_str(), &st)) != 0) return false;
    // By its time of change, which no one can set back (a folder's owner can set its time
    // of modification to anything).
    const std::int64_t changed = changeOf(st), listedAt = nowNs();
    {
        std::lock_guard<std::mutex> g(quietLock);
        const auto q = quietFolders.find(dir.string());
        if (q != quietFolders.end() && q->second == changed) return false;
    }
    // A folder whose records were all met is listed once a step while it stays unchanged:
    // one full of names of ended runs costs a look at its time at each file check after.
    const std::string seen = "listed " + dir.string() + " as changed at " + std::to_string(changed);
    if (metInThisStep(seen)) return false;
    // Held from here: whatever is done in the folder is done in this one.
    const HeldFolder base = held ? held->dup() : HeldFolder::open(dir);
    if (!base) return false;
    bool records = false, listed = false, stable = true, busy = false;
    OthersFiles others;
    const auto until = std::chrono::steady_clock::now() + kWaitForSettler;
    for (;;) {
        records = false;
        stable = true;
        std::string busyClaim;
        std::vector<std::string> names, found;
        listed = base.names(recordLike, names);
        if (afterSettleListing) afterSettleListing(dir);
        for (const std::string& name : names) {
            Writer w;
            const Kind kind = kindOf(name, w);
            if (kind != Kind::Record && kind != Kind::Undo) continue;
            records = true;
            Origin o;
            // This process's own record is settled here too once its commit has given it up.
            if (ended(w) || (isMine(w) && !liveRecords().has(name))) {
                found.push_back(name);
                continue;
            }
            // A writer of this host may end without changing the folder: looked at again.
            stable = stable && w.host != hostName();
            struct stat st{};
            if (!originOf(name, o) || !o.claimed || !base.stat(name, st)) continue;
            if (!obeyed(st)) others[st.st_uid][base.pathOf(name)] = whyNotObeyed(st);  // not the user's alone: named
            else if (w.host == hostName()) busyClaim = base.pathOf(name);  // a settle under way
        }
        busy = !busyClaim.empty();
        for (const std::string& name : found) {
            // A record left as it stands is read once a step, not at every file check.
            struct stat before{}, after{};
            const std::string met = base.stat(name, before) ? stateKey(dir, name, before) : std::string();
            if (!met.empty() && metInThisStep(met)) continue;
            const Outcome outcome = settle(dir, base, name, busyClaim, others);
            busy = outcome == Outcome::Busy || busy;
            if (outcome == Outcome::Done && !met.empty() && base.stat(name, after) && stateKey(dir, name, after) == met)
                metInThisStep(met, true);
        }
        if (!busy) break;
        // Waited for at most once a step: a settler that does not end is said once.
        const std::string waiting = "waited for a settle in " + dir.string();
        if (metInThisStep(waiting)) break;
        if (std::chrono::steady_clock::now() > until) {
            metInThisStep(waiting, true);
            addNote(leadIn(dir) + "is being settled by another run of the program, which did not end within " +
                    std::to_string(std::chrono::seconds(kWaitForSettler).count()) +
                    " seconds; this step went on without waiting for it." +
                    (busyClaim.empty() ? "" : " Its claim is \"" + busyClaim + "\"."));
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    noteOtherUsers(dir, others);
    struct stat now{};
    if (records && stable && !busy && listed && listedAt - changed > kTrustedAge && ::stat(dir.c_str(), &now) == 0 &&
        changeOf(now) == changed)
        metInThisStep(seen, true);
    std::lock_guard<std::mutex> g(quietLock);
    if (!records && listed && listedAt - changed > kTrustedAge) quietFolders[dir.string()] = changed;
    else quietFolders.erase(dir.string());
    return records;
}

void settleBeforeReading(const std::string& file) {
    if (file.empty() || livePrivateFolders().has(fs::path(file).parent_path().string())) return;
    settleFolder(fs::path(file).parent_path());
}

} // namespace trelvik::working

// Settling the commits that a kill cut short (core/workingfiles.h): finished or undone
// by the next step that reads or writes in their folder, and noted for it to say.
#include "core/workingfiles.h"
#include "core/workingfiles_detail.h"

#include "core/tempfiles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <thread>
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

bool holdsOld(const struct stat& st, const Staged& s) {
    if (!isOldFile(FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}, s))
        return false;
    return s.oldSize < 0 || (static_cast<std::int64_t>(st.st_size) == s.oldSize && timeOf(st) == s.oldTime &&
                             (s.oldChange == 0 || changeOf(st) == s.oldChange));
}

Now nowOf(const Staged& s) {
    if (isFresh(s.target, s)) return freshAsWritten(s.target, s) ? Now::InPlace : Now::SavedOver;
    struct stat st{};
    if (::lstat(s.target.c_str(), &st) == 0 && !holdsOld(st, s)) return Now::SavedOver;
    return freshAsWritten(s.fresh, s) ? Now::Waiting : Now::Lost;
}

std::string shownIn(const fs::path& dir, const Staged& s) {
    const fs::path t(s.target);
    return t.parent_path() == dir ? t.filename().string() : s.target;
}

std::string listed(const fs::path& dir, const std::vector<Staged>& files) {
    std::string out;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0) out += i + 1 == files.size() ? " and " : ", ";
        out += shownIn(dir, files[i]);
    }
    return out;
}

std::string leadIn(const fs::path& dir) { return "A step cut short in " + dir.string() + " while putting files in place "; }

std::string endsNote(const fs::path& record) {
    return " Once that is seen to, removing \"" + record.string() + "\" ends this note.";
}

void noteForeign(const fs::path& record, const std::string& why) {
    addNote("\"" + record.string() + "\" is named as a record of a step cut short, but it is not the program's own (" +
            why + "), so nothing it names was touched." + endsNote(record));
}

// A record in a folder the user cannot write: nothing can be settled, so the step is told
// which files are new and which old before it reads them.
void noteUnwritable(const fs::path& dir, const Record& r, int err) {
    std::vector<Staged> fresh, old;
    for (const Staged& s : r.files) (nowOf(s) == Now::InPlace ? fresh : old).push_back(s);
    std::string text = leadIn(dir) + "could not be settled, as the folder cannot be written (" + std::strerror(err) + "):";
    if (!fresh.empty()) text += " " + listed(dir, fresh) + (fresh.size() == 1 ? " holds" : " hold") + " its new content";
    if (!fresh.empty() && !old.empty()) text += ";";
    if (!old.empty()) text += " " + listed(dir, old) + (old.size() == 1 ? " is" : " are") + " as before it";
    addNote(text + ".");
}

// The names in dir of the record form. Every read and write in a folder lists it, so only
// those names are made into strings; listed is false when the folder could not be read.
std::vector<std::string> recordLikeNames(const fs::path& dir, bool& listed) {
    std::vector<std::string> out;
    DIR* d = ::opendir(dir.c_str());
    listed = d != nullptr;
    if (!d) return out;
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view n(e->d_name);
        if (n.size() > 1 && n.front() == '.' && (n.ends_with(kRecordExt) || n.ends_with(kUndoExt))) out.emplace_back(n);
    }
    listed = errno == 0;
    ::closedir(d);
    return out;
}

enum class Outcome { Done, Busy };

// Claims the commit o names for this settler: the copy of its record in the commit's
// first folder is renamed to a name of this settler's, so that one settler takes a
// commit however many folders hold its record. Busy when a live settler has it.
struct Claim {
    fs::path folder;
    std::string from;  // the name it had
    std::string path;  // the claimed record
    bool undoing = false;
};

Outcome claim(const fs::path& dir, const Record& r, const Origin& o, Claim& c) {
    LiveNames& live = liveRecords();
    c.folder = r.folders.empty() ? dir : fs::path(r.folders.front());
    std::vector<std::pair<std::string, bool>> names;  // candidates, and whether each is being undone
    bool busy = false;
    std::error_code ec;
    for (fs::directory_iterator it(c.folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        Origin other;
        Writer w;
        const Kind kind = kindOf(name, w);
        if (!originOf(name, other) || other.stem != o.stem) continue;
        if (other.claimed && !ended(w) && !(isMine(w) && !liveRecords().has(name))) busy = busy || w.host == hostName();
        else names.emplace_back(name, kind == Kind::Undo);
    }
    for (const auto& [name, undoing] : names) {
        const std::string claimedName = newStampedName(o.stem.substr(1), c.folder, undoing ? kUndoExt : kRecordExt);
        live.set(claimedName, true);
        live.set(withExt(claimedName, kUndoExt), true);
        c = {c.folder, name, (c.folder / claimedName).string(), undoing};
        if (::rename((c.folder / name).c_str(), c.path.c_str()) == 0) return Outcome::Done;
        const int err = errno;
        live.set(claimedName, false);
        live.set(withExt(claimedName, kUndoExt), false);
        c.path.clear();
        if (err == EACCES || err == EPERM || err == EROFS) {
            noteUnwritable(dir, r, err);
            return Outcome::Done;
        }
        busy = true;  // taken meanwhile: look again for whoever has it
    }
    return busy ? Outcome::Busy : Outcome::Done;
}

// Finishes the commit of an ended writer: forward when the record is not being undone and
// every new file is in place, waiting, or kept out by something put at its target since;
// else back. The record stays when anything could not be settled.
void settleClaimed(const fs::path& dir, const Claim& c, const Origin& o) {
    std::error_code ec;
    std::string claimed = c.path;
    const auto giveBack = [&] { fs::rename(claimed, c.folder / c.from, ec); };
    Record r;
    if (!readRecord(claimed, r)) return giveBack();
    if (const std::string why = foreignWhy(r, c.folder, o); !why.empty()) {
        giveBack();
        return noteForeign(c.folder / c.from, why);
    }
    const std::string lead = leadIn(dir);
    std::vector<Now> now;
    bool known = false;
    for (const Staged& s : r.files) {
        now.push_back(nowOf(s));
        known = known || isFresh(s.target, s) || isFresh(s.fresh, s);
    }
    if (!c.undoing && !known) {
        // None of the files it wrote is there by its id (the folder is a copy, or its
        // drive was mounted anew): what the folder holds now cannot be told apart from
        // files saved since, so nothing is touched, and the record stays with its copies.
        std::string where;
        for (const Staged& s : r.files)
            if (!s.kept.empty()) where += "; the old content of \"" + shownIn(dir, s) + "\" is in \"" + s.kept + "\"";
        giveBack();
        return addNote(lead + "could not be finished or undone: the files it names are no longer the ones it wrote" +
                       where + "." + endsNote(c.folder / c.from));
    }
    const auto savedSince = [&dir](const Staged& s, const std::string& tail) {
        addNote("\"" + shownIn(dir, s) + "\" was left as it was saved after that step was cut short" + tail + ".");
    };
    // A file still at a target is replaced only when it is the record's owner's: a record
    // of another user is no licence to replace a file of someone else's, so its commit is
    // undone, which puts back only what its writer moved.
    const auto othersOld = [&r](const Staged& s) {
        struct stat st{};
        return r.owner != 0 && ::lstat(s.target.c_str(), &st) == 0 && holdsOld(st, s) && st.st_uid != r.owner;
    };
    bool forward = !c.undoing && std::find(now.begin(), now.end(), Now::Lost) == now.end() &&
                   std::none_of(r.files.begin(), r.files.end(), othersOld);
    for (std::size_t i = 0; forward && i < r.files.size(); ++i) {
        const Staged& s = r.files[i];
        if (now[i] == Now::Waiting) {
            fs::rename(s.fresh, s.target, ec);
            forward = !ec;
        }
    }
    if (forward) {
        std::vector<Staged> finished;
        for (std::size_t i = 0; i < r.files.size(); ++i) {
            const Staged& s = r.files[i];
            if (now[i] != Now::SavedOver) {
                finished.push_back(s);
                addSettled(s.target);
                continue;
            }
            if (isFresh(s.fresh, s)) fs::remove(s.fresh, ec);
            savedSince(s, "; the step's new file for it was dropped");
        }
        removeKeptCopies(r.files);
        if (!finished.empty()) addNote(lead + "was finished: " + listed(dir, finished) + " hold its new files.");
    } else {
        if (!c.undoing) {
            const std::string marked = withExt(claimed, kUndoExt);
            fs::rename(claimed, marked, ec);
            if (!ec) claimed = marked;
        }
        std::vector<const Staged*> kept;
        const std::string left = undoFiles(r.files, &kept);
        for (const Staged* s : kept) savedSince(*s, "");
        for (const Staged& s : r.files)
            if (const auto id = idOf(s.target); id && !s.kept.empty() && id->dev == s.keptDev && id->ino == s.keptIno)
                addSettled(s.target);
        if (!left.empty()) {
            // Under the writer's own name again, for the next writer in the folder to try.
            fs::rename(claimed, c.folder / (o.stem + std::string(kUndoExt)), ec);
            return addNote(lead + "could not be finished or undone: " + left + "." +
                           endsNote(c.folder / (o.stem + std::string(kUndoExt))));
        }
        std::vector<Staged> undone;
        for (const Staged& s : r.files)
            if (std::none_of(kept.begin(), kept.end(), [&s](const Staged* k) { return k->target == s.target; }))
                undone.push_back(s);
        if (!undone.empty()) addNote(lead + "was undone: " + listed(dir, undone) + " are as they were before it.");
    }
    // The other folders' copies first: while the claimed one is there, a settler killed
    // now is followed by another.
    for (const std::string& folder : r.folders)
        if (fs::path(folder) != c.folder)
            for (std::string_view ext : {kRecordExt, kUndoExt}) fs::remove(fs::path(folder) / (o.stem + std::string(ext)), ec);
    fs::remove(claimed, ec);
}

// Settles the record `name` found in dir, whose writer has ended.
Outcome settle(const fs::path& dir, const std::string& name) {
    Origin o;
    if (!originOf(name, o)) return Outcome::Done;
    const fs::path path = dir / name;
    Record r;
    if (!readRecord(path.string(), r)) {
        // Gone since the listing: claimed by another settler, who may be at work still.
        if (!idOf(path.string())) return Outcome::Busy;
        // Cut short while it was written, so no rename had begun: nothing to settle. A
        // claim cut short is the settler's own name for a whole record, so it never is.
        std::error_code ec;
        if (!o.claimed) fs::remove(path, ec);
        return Outcome::Done;
    }
    if (const std::string why = foreignWhy(r, dir, o); !why.empty()) {
        noteForeign(path, why);
        return Outcome::Done;
    }
    Claim c;
    const Outcome outcome = claim(dir, r, o, c);
    if (c.path.empty()) return outcome;
    const std::string claimedName = fs::path(c.path).filename().string();
    const LiveWhileSettling held({claimedName, withExt(claimedName, kUndoExt)});  // set live by claim()
    settleClaimed(dir, c, o);
    return Outcome::Done;
}

} // namespace

namespace detail {

std::string undoFiles(const std::vector<Staged>& files, std::vector<const Staged*>* savedSince) {
    std::string left;
    const auto note = [&left](const std::string& text) { left += (left.empty() ? "" : "; ") + text; };
    const auto notPutBack = [&note](const Staged& s, const std::string& why) {
        note("the old \"" + s.shown + "\" could not be put back (" + why + "): its old content is in \"" + s.kept + "\"");
    };
    for (auto s = files.rbegin(); s != files.rend(); ++s) {
        std::error_code ec;
        if (isFresh(s->target, *s) && savedSince && !freshAsWritten(s->target, *s)) {
            // Changed in place since the kill: the user's, kept as it is.
            savedSince->push_back(&*s);
            if (isKeptCopy(*s)) fs::remove(s->kept, ec);
        } else if (isFresh(s->target, *s)) {
            if (!s->kept.empty() && !isKeptCopy(*s)) {
                notPutBack(*s, "its copy is no longer the one made");
            } else if (!s->kept.empty()) {
                fs::rename(s->kept, s->target, ec);
                if (ec) notPutBack(*s, ec.message());
            } else if (!fs::remove(s->target, ec) && ec) {
                note("the new \"" + s->shown + "\" could not be removed (" + ec.message() + "); it had no old file");
            }
        } else if (isKeptCopy(*s)) {
            // The target still holds its old file, or, when something has taken it away
            // since, gets it back; anything else in its place keeps the copy.
            const auto now = idOf(s->target);
            const bool oldThere = isOldFile(now, *s);
            if (oldThere) fs::remove(s->kept, ec);
            else if (!now) fs::rename(s->kept, s->target, ec);
            if (ec) notPutBack(*s, ec.message());
            else if (now && !oldThere) notPutBack(*s, "something else is in its place");
        }
        if (isFresh(s->fresh, *s)) fs::remove(s->fresh, ec);
    }
    return left;
}

} // namespace detail

void settleFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path dir = fs::absolute(folder.empty() ? fs::path(".") : folder, ec).lexically_normal();
    if (!dir.has_filename() && dir != dir.root_path()) dir = dir.parent_path();
    struct stat st{};
    if (::stat(dir.c_str(), &st) != 0) return;
    const std::int64_t changed = timeOf(st), listedAt = nowNs();
    {
        std::lock_guard<std::mutex> g(quietLock);
        const auto q = quietFolders.find(dir.string());
        if (q != quietFolders.end() && q->second == changed) return;
    }
    bool records = false, listed = false;
    const auto until = std::chrono::steady_clock::now() + kWaitForSettler;
    for (;;) {
        records = false;
        bool busy = false;
        std::vector<std::string> found;
        for (const std::string& name : recordLikeNames(dir, listed)) {
            Writer w;
            const Kind kind = kindOf(name, w);
            if (kind != Kind::Record && kind != Kind::Undo) continue;
            records = true;
            Origin o;
            // This process's own record is settled here too once its commit has given it up.
            if (ended(w) || (isMine(w) && !liveRecords().has(name))) found.push_back(name);
            else if (originOf(name, o) && o.claimed && w.host == hostName()) busy = true;  // a settle under way
        }
        for (const std::string& name : found) busy = settle(dir, name) == Outcome::Busy || busy;
        if (!busy) break;
        if (std::chrono::steady_clock::now() > until) {
            addNote(leadIn(dir) + "is being settled by another run of the program, which did not end within " +
                    std::to_string(std::chrono::seconds(kWaitForSettler).count()) +
                    " seconds; this step went on without waiting for it.");
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::lock_guard<std::mutex> g(quietLock);
    if (!records && listed && listedAt - changed > kTrustedAge) quietFolders[dir.string()] = changed;
    else quietFolders.erase(dir.string());
}

void settleBeforeReading(const std::string& file) {
    if (file.empty() || inPrivateFolder(file)) return;
    settleFolder(fs::path(file).parent_path());
}

} // namespace trelvik::working

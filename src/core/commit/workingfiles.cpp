#include "core/commit/workingfiles.h"
#include "core/commit/testhooks.h"
#include "core/commit/workingfiles_detail.h"

#include "core/error.h"
#include "core/fileroutines.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <map>
#include <optional>
#include <set>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trelvik::working {

namespace fs = std::filesystem;
using namespace detail;

namespace {

constexpr std::size_t kCheck = 16;  // hex digits

std::uint64_t hashOf(std::string_view s) {
    std::uint64_t h = 14695981039346656037ULL;  // FNV-1a
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ULL;
    return h;
}

std::string hex(std::uint64_t v) {
    char out[kCheck + 1];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(v));
    return out;
}

// The writer named by the stamp that ends `name`, after a lead ending in leadEnd.
Writer writerOf(std::string_view name, std::string_view leadEnd) {
    if (name.size() < kCheck + 1 || name[name.size() - kCheck - 1] != '-') return {};
    const std::string_view stem = name.substr(0, name.size() - kCheck - 1);
    if (name.substr(name.size() - kCheck) != hex(hashOf(stem))) return {};
    const std::size_t lead = stem.rfind(leadEnd);
    if (lead == std::string_view::npos) return {};
    std::string_view rest = stem.substr(lead + leadEnd.size());  // "<host>-<pid>-<n>"
    const std::size_t n = rest.rfind('-');
    if (n == std::string_view::npos || !digits(rest.substr(n + 1))) return {};
    rest = rest.substr(0, n);
    const std::size_t p = rest.rfind('-');
    if (p == std::string_view::npos || p == 0 || !digits(rest.substr(p + 1)) || rest[p + 1] == '0') return {};
    Writer w;
    if (std::from_chars(rest.data() + p + 1, rest.data() + rest.size(), w.pid).ec != std::errc()) return {};
    w.host = rest.substr(0, p);
    return w;
}

std::string stampedFileName(const std::string& targetName, const std::string& host, long pid, unsigned long n,
                            std::size_t limit, std::string_view ext) {
    const std::size_t fixed = kTag.size() + host.size() + 1 + std::to_string(pid).size() + 1 +
                              std::to_string(n).size() + 1 + kCheck + ext.size();
    std::string body = targetName;
    if (1 + body.size() + fixed > limit) {
        const std::size_t cut = 1 + fixed + 1 + kCheck;
        std::size_t keep = limit > cut ? std::min(body.size(), limit - cut) : 0;
        while (keep > 0 && (static_cast<unsigned char>(body[keep]) & 0xC0) == 0x80) --keep;  // not inside a character
        body = body.substr(0, keep) + "." + hex(hashOf(targetName));
    }
    return stamped("." + body + std::string(kTag), host, pid, n) + std::string(ext);
}

} // namespace

unsigned long unforeseen() {
    // From the kernel's generator, never the program's own (core/random.h), whose sequence
    // is reproducible by design.
    unsigned long n = 0;
    for (std::size_t have = 0; have < sizeof n;) {
        const ssize_t got = ::getrandom(reinterpret_cast<char*>(&n) + have, sizeof n - have, 0);
        if (got > 0) have += static_cast<std::size_t>(got);
        else if (errno != EINTR) throw Error(std::string("Cannot draw a random number: ") + std::strerror(errno));
    }
    return n;
}

namespace detail {

Kind kindOf(std::string_view name, Writer& w) {
    if (name.size() < 2 || name.front() != '.') return Kind::None;
    const std::pair<std::string_view, Kind> exts[] = {
        {kFileExt, Kind::File}, {kRecordExt, Kind::Record}, {kUndoExt, Kind::Undo}};
    for (const auto& [ext, kind] : exts)
        if (name.ends_with(ext)) {
            w = writerOf(name.substr(0, name.size() - ext.size()), kTag);
            return w.pid > 0 ? kind : Kind::None;
        }
    return Kind::None;
}

bool originOf(std::string_view name, Origin& o) {
    Writer w;
    const Kind kind = kindOf(name, w);
    if (kind != Kind::Record && kind != Kind::Undo) return false;
    const std::string_view stem = name.substr(0, name.size() - (kind == Kind::Record ? kRecordExt : kUndoExt).size());
    const std::string_view inner = stem.substr(0, stem.rfind(kTag));
    const std::string plainBody = "." + std::string(kRecordBody);
    if (inner == plainBody) {
        o = {std::string(stem), w, false};
        return true;
    }
    // A claim: the writer's own record name, less its extension, then the settler's stamp.
    const Writer writer = writerOf(inner, kTag);
    if (writer.pid <= 0 || inner.substr(0, inner.rfind(kTag)) != plainBody) return false;
    o = {std::string(inner), writer, true};
    return true;
}

bool ended(const Writer& w) {
    if (w.pid <= 0 || w.pid == ::getpid() || w.host != hostName()) return false;
    return ::kill(static_cast<pid_t>(w.pid), 0) != 0 && errno == ESRCH;
}

bool isMine(const Writer& w) { return w.pid == ::getpid() && w.host == hostName(); }

std::size_t nameLimit(const fs::path& dir) {
    const long limit = ::pathconf((dir.empty() ? fs::path(".") : dir).c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

std::string newStampedName(const std::string& body, const fs::path& dir, std::string_view ext) {
    return stampedFileName(body, hostName(), ::getpid(), unforeseen(), nameLimit(dir), ext);
}

std::string withExt(const std::string& path, std::string_view ext) {
    for (std::string_view old : {kRecordExt, kUndoExt})
        if (path.ends_with(old)) return path.substr(0, path.size() - old.size()) + std::string(ext);
    return path;
}

} // namespace detail

namespace {
std::mutex madeLock;
std::map<std::string, std::string> madeFolders;  // a results folder, and its data folder
} // namespace

void madeFor(const std::string& folder) {
    const std::string dir = plainFolder(folder).string();
    const std::string parent = fs::path(dir).parent_path().string();
    if (parent.empty() || parent == dir) return;
    std::lock_guard<std::mutex> g(madeLock);
    madeFolders[dir] = parent;
}

std::string madeFolderOwner(const std::string& folder) {
    std::lock_guard<std::mutex> g(madeLock);
    const auto at = madeFolders.find(plainFolder(folder).string());
    return at == madeFolders.end() ? std::string() : at->second;
}

LiveNames& livePrivateFolders() {
    static LiveNames f;
    return f;
}

namespace detail {

fs::path plainFolder(const fs::path& folder) {
    const auto plain = [](const fs::path& p) {
        if (!p.is_absolute() || !p.has_filename()) return false;
        for (const fs::path& step : p)
            if (step == "." || step == "..") return false;
        return true;
    };
    if (plain(folder)) return folder;  // as a walk from an absolute path gives it
    std::error_code ec;
    fs::path dir = fs::absolute(folder.empty() ? fs::path(".") : folder, ec).lexically_normal();
    if (!dir.has_filename() && dir != dir.root_path()) dir = dir.parent_path();
    return dir;
}

LiveNames& liveRecords() {
    static LiveNames r;
    return r;
}

} // namespace detail

const std::string& hostName() {
    static const std::string name = [] {
        char buf[256] = {};
        std::string h = ::gethostname(buf, sizeof buf - 1) == 0 ? buf : "";
        h = h.substr(0, 64);
        for (char& c : h)
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) c = '_';
        return h.empty() ? std::string("host") : h;
    }();
    return name;
}

std::string stamped(std::string lead, const std::string& host, long pid, unsigned long n) {
    lead += host + "-" + std::to_string(pid) + "-" + std::to_string(n);
    return lead + "-" + hex(hashOf(lead));
}

void removeKeptCopies(const std::vector<Staged>& files) {
    std::vector<HeldFolder> folders;
    // A copy the writer has just made, before its record gave it an id, is the writer's own.
    for (const HeldFile& h : heldFiles(files, folders))
        if (h.ids.keptIno == 0 ? !h.kept.empty() : isKeptCopy(h)) h.folder->remove(h.kept);
}

bool madeByEndedWriter(std::string_view name, std::string_view leadEnd) { return ended(writerOf(name, leadEnd)); }

std::string workingFileName(const std::string& targetName, const std::string& host, long pid, unsigned long n,
                            std::size_t limit) {
    return stampedFileName(targetName, host, pid, n, limit, kFileExt);
}

std::string newName(const fs::path& target) {
    return (target.parent_path() / workingFileName(target.filename().string(), hostName(), ::getpid(), unforeseen(),
                                                   nameLimit(target.parent_path())))
        .string();
}

void tidyFolder(const fs::path& folder) {
    const fs::path dir = folder.empty() ? fs::path(".") : folder;
    settleFolder(dir);
    const HeldFolder held = HeldFolder::open(dir);
    std::vector<std::string> names;
    held.names([](std::string_view) { return true; }, names);
    // The files a record still in the folder names stay: a kept old file may be the only
    // copy. A record that goes between the listing and its reading has been claimed by a
    // settler, who may still need its copies: the folder is listed again for its new name.
    // A record not obeyed (one of an earlier run made before records were the user's alone,
    // say) keeps every working file of its writer: what it names is not known.
    std::set<std::string> named, read;
    std::set<std::pair<std::string, long>> keptWriters;
    std::vector<std::string> listing = names;
    if (afterSweepListing) afterSweepListing(dir);
    for (int round = 0; round < 16; ++round) {
        bool again = false;
        for (const std::string& name : listing) {
            Writer w;
            const Kind kind = kindOf(name, w);
            if ((kind != Kind::Record && kind != Kind::Undo) || read.count(name)) continue;
            ReadRecord r;
            std::string why;
            struct stat st{};
            const Found found = readRecordIn(held, name, r, why, st);
            if (found == Found::Gone) {
                again = true;
                continue;
            }
            if (found == Found::Read)
                for (const ReadEntry& e : r.entries)
                    for (const std::string& n : {e.fresh, e.kept}) named.insert(n);
            Origin o;
            if ((found == Found::NotTheUsersAlone || found == Found::NotARecordFile) && originOf(name, o))
                keptWriters.emplace(std::string(o.writer.host), o.writer.pid);
            read.insert(name);
        }
        if (!again) break;
        listing.clear();
        held.names([](std::string_view) { return true; }, listing);
    }
    // Only the user's own working files go: another user's are that user's run's to clear.
    for (const std::string& name : names) {
        Writer w;
        struct stat st{};
        if (kindOf(name, w) != Kind::File || !ended(w) || named.count(name) ||
            keptWriters.count({std::string(w.host), w.pid}) || !held.stat(name, st) || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid())
            continue;
        held.remove(name);
    }
}

CommitRecord::CommitRecord(std::vector<Staged> files) : files_(std::move(files)) {
    Record r;
    std::size_t limit = 255;
    std::vector<HeldFolder> held;  // each folder of the record, held once
    for (Staged& s : files_) {
        for (std::string* p : {&s.target, &s.fresh, &s.kept})
            if (!p->empty()) *p = fs::absolute(*p).lexically_normal().string();
        if (!s.held) s.held = std::make_shared<const HeldFolder>(HeldFolder::open(fs::path(s.target).parent_path()));
        // s's file `path` as it stands, looked at through the folder that holds it.
        const auto look = [&s](const std::string& path, struct stat& st) {
            return s.held->stat(fs::path(path).filename().string(), st);
        };
        if (s.shown.empty()) s.shown = s.target;
        struct stat fresh{};
        if (!look(s.fresh, fresh)) throw Error("Cannot replace \"" + s.shown + "\": its new file has gone");
        s.dev = static_cast<std::uint64_t>(fresh.st_dev);
        s.ino = static_cast<std::uint64_t>(fresh.st_ino);
        // Sizes and times too: a file written over in place keeps its id.
        s.size = static_cast<std::int64_t>(fresh.st_size);
        s.time = timeOf(fresh);
        s.change = changeOf(fresh);
        struct stat old{};
        if (look(s.target, old)) {
            s.oldDev = static_cast<std::uint64_t>(old.st_dev);
            s.oldIno = static_cast<std::uint64_t>(old.st_ino);
            s.oldSize = static_cast<std::int64_t>(old.st_size);
            s.oldTime = timeOf(old);
            s.oldChange = changeOf(old);
        }
        if (struct stat kept{}; !s.kept.empty() && look(s.kept, kept)) {
            s.keptDev = static_cast<std::uint64_t>(kept.st_dev);
            s.keptIno = static_cast<std::uint64_t>(kept.st_ino);
        }
        const std::string folder = fs::path(s.target).parent_path().string();
        if (std::find(r.folders.begin(), r.folders.end(), folder) == r.folders.end()) {
            r.folders.push_back(folder);
            held.push_back(s.held->dup());
            limit = std::min(limit, nameLimit(folder));
        }
    }
    // A results folder the program made under a data folder (slope/, savol/, a regrid's
    // folders) is settled with the data folder it belongs to: the record goes there too,
    // so a step reading the data folder puts it right.
    for (std::size_t i = 0, n = r.folders.size(); i < n; ++i) {
        const std::string parent = madeFolderOwner(r.folders[i]);
        if (parent.empty() || std::find(r.folders.begin(), r.folders.end(), parent) != r.folders.end()) continue;
        // Only where a record can be written: a data folder the user may only read keeps
        // its results folder settled as any other folder is.
        HeldFolder data = HeldFolder::open(parent);
        if (data && ::faccessat(data.fd(), ".", W_OK | X_OK, AT_EACCESS) == 0) {
            r.folders.push_back(parent);
            held.push_back(std::move(data));
            limit = std::min(limit, nameLimit(parent));
        }
    }
    r.files = files_;
    name_ = stampedFileName(std::string(kRecordBody), hostName(), ::getpid(), unforeseen(), limit, kRecordExt);
    liveRecords().set(name_, true);
    const auto removeCopies = [this] {
        for (const Copy& c : copies_) c.folder.remove(c.name);
        liveRecords().set(name_, false);
    };
    for (std::size_t i = 0; i < r.folders.size(); ++i) {
        const std::string& folder = r.folders[i];
        const std::string text = recordText(r, folder);
        // The settle reads no larger record, so none is written: nothing has been renamed yet.
        if (text.size() > kLargestRecord) {
            removeCopies();
            throw Error("Cannot replace \"" + files_.front().shown + "\" and " + std::to_string(files_.size() - 1) +
                        " other files together: too many for one step");
        }
        HeldFolder& here = held[i];
        // Made the user's alone, whatever the umask: a record is obeyed only when nobody else
        // could have written it. A disk without Unix permissions (FAT, exFAT, SMB) shows
        // every file with the mode its mount gives and refuses the change; that is no
        // failure, and the record is written as the disk allows.
        const int fd = here ? ::openat(here.fd(), name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)
                            : -1;
        if (!here) errno = ENOENT;
        int err = fd < 0 ? errno : 0;
        if (fd >= 0) (changeRecordMode ? changeRecordMode : ::fchmod)(fd, 0600);
        if (fd >= 0) copies_.push_back({std::move(here), name_});
        if (!err) err = writeAll(fd, text);
        if (!err && ::fsync(fd) != 0) err = errno;
        if (fd >= 0 && ::close(fd) != 0 && !err) err = errno;
        const bool good = err == 0;
        if (!good) {
            removeCopies();
            throw Error("Cannot write the commit record \"" + (fs::path(folder) / name_).string() +
                        "\": " + std::strerror(err));
        }
        copies_.back().folder.sync();
    }
}

CommitRecord::~CommitRecord() {
    if (!settled_) undo();
}

void CommitRecord::finished() {
    for (const Copy& c : copies_) c.folder.remove(c.name);
    removeKeptCopies(files_);
    liveRecords().set(name_, false);
    settled_ = true;
}

std::string CommitRecord::undo() {
    // Marked first: a kill while files are being put back must not lead to a roll forward.
    const std::string marked = withExt(name_, kUndoExt);
    liveRecords().set(marked, true);
    for (Copy& c : copies_) {
        const std::string undoName = withExt(c.name, kUndoExt);
        if (c.folder.rename(c.name, c.folder, undoName) == 0) c.name = undoName;
    }
    liveRecords().set(name_, false);
    name_ = marked;
    std::vector<HeldFolder> folders;
    const std::string left = undoFiles(heldFiles(files_, folders)).left;
    if (left.empty())
        for (const Copy& c : copies_) c.folder.remove(c.name);
    // What could not be put back is settled by the next writer in the folder, this
    // process's own included.
    liveRecords().set(name_, false);
    settled_ = true;
    return left;
}

} // namespace trelvik::working

#include "core/heldfolder.h"
#include "core/commit/testhooks.h"
#include "core/samefile.h"

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <pwd.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace trelvik {

namespace fs = std::filesystem;

namespace {

// Folders are held as paths (O_PATH): enough to walk on, stat, make, rename and remove
// names in, and it needs no right to list a folder one may only pass through.
constexpr int kHold = O_PATH | O_DIRECTORY | O_CLOEXEC;
// As many links as the kernel follows on one path.
constexpr int kMostLinks = 40;

// Which links a walk follows: those trustedLink() accepts, or none (a record's folders).
enum class Links { Trusted, None };

// A file descriptor closed when it goes out of scope, unless handed on.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
        return *this;
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// The names of path, last first: the walk takes them from the back.
void pushNames(std::string_view path, std::vector<std::string>& todo) {
    const std::size_t at = todo.size();
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        todo.emplace_back(path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    std::reverse(todo.begin() + static_cast<std::ptrdiff_t>(at), todo.end());
}

// The folder `dir` in one call when no link stands anywhere on it, as most paths are;
// -1 otherwise, and the walk goes name by name.
int openWithoutLinks(const std::string& dir) {
#ifdef SYS_openat2
    struct open_how how{};
    how.flags = kHold;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(::syscall(SYS_openat2, AT_FDCWD, dir.empty() ? "." : dir.c_str(), &how, sizeof how));
#else
    (void)dir;
    return -1;
#endif
}

} // namespace

std::string ownerName(uid_t owner) {
    struct passwd pw{}, *found = nullptr;
    char buf[1024];
    if (::getpwuid_r(owner, &pw, buf, sizeof buf, &found) == 0 && found && found->pw_name) return found->pw_name;
    return "user " + std::to_string(owner);
}

bool trustedLink(const struct stat& link, const struct stat& folder) {
    if (link.st_uid == ::geteuid() || link.st_uid == 0) return true;
    return link.st_uid == folder.st_uid && (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

namespace {

// The walk itself, from the folder `start` (taken over) reached as `shown`, through the
// names in todo (last first).
Walked walkFrom(int start, fs::path shown, std::vector<std::string> todo, bool followLast, Links links) {
    Walked w;
    Fd dir(start);
    if (dir.get() < 0) {
        w.err = errno;
        return w;
    }
    w.name = ".";  // until the walk ends at a name in a folder
    int hops = 0;
    while (!todo.empty()) {
        const std::string name = std::move(todo.back());
        todo.pop_back();
        const bool last = todo.empty();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            dir = ::openat(dir.get(), "..", kHold);
            if (dir.get() < 0) {
                w.err = errno;
                return w;
            }
            shown /= "..";
            continue;
        }
        struct stat st{};
        if (::fstatat(dir.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            w.err = errno;
            if (w.err == ENOENT && last) {  // a name yet to be made
                w.err = 0;
                w.name = name;
                w.folder = HeldFolder(dir.release(), std::move(shown));
            }
            return w;
        }
        if (S_ISLNK(st.st_mode) && (!last || followLast)) {
            if (links == Links::None) {
                w.err = ELOOP;
                return w;
            }
            struct stat here{};
            if (::fstat(dir.get(), &here) != 0 || !trustedLink(st, here)) {
                w.othersLink = (shown / name).string();
                w.owner = st.st_uid;
                return w;
            }
            // The link judged is the link read: held as itself, not found again by name.
            Fd link(::openat(dir.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
            struct stat held{};
            char to[4096];
            const ssize_t n = link.get() < 0 || ::fstat(link.get(), &held) != 0 || !sameFile(held, st)
                                  ? -1
                                  : ::readlinkat(link.get(), "", to, sizeof to);
            if (n <= 0 || static_cast<std::size_t>(n) >= sizeof to || ++hops > kMostLinks) {
                w.err = n > 0 && hops > kMostLinks ? ELOOP : EAGAIN;
                return w;
            }
            const std::string target(to, static_cast<std::size_t>(n));
            if (target.front() == '/') {
                dir = ::open("/", kHold);
                shown = "/";
                if (dir.get() < 0) {
                    w.err = errno;
                    return w;
                }
            }
            const std::size_t before = todo.size();
            pushNames(target, todo);
            if (todo.size() == before) todo.emplace_back(".");
            continue;
        }
        if (last) {
            w.name = name;
            w.exists = true;
            w.st = st;
            w.folder = HeldFolder(dir.release(), std::move(shown));
            return w;
        }
        if (!S_ISDIR(st.st_mode)) {
            w.err = ENOTDIR;
            return w;
        }
        Fd next(::openat(dir.get(), name.c_str(), kHold | O_NOFOLLOW));
        struct stat held{};
        if (next.get() < 0 || ::fstat(next.get(), &held) != 0 || !sameFile(held, st)) {
            w.err = next.get() < 0 ? errno : EAGAIN;
            return w;
        }
        dir = next.release();
        shown /= name;
    }
    // The path names a folder itself ("/", "a/..", "b/").
    if (::fstat(dir.get(), &w.st) != 0) {
        w.err = errno;
        return w;
    }
    w.exists = true;
    w.folder = HeldFolder(dir.release(), std::move(shown));
    return w;
}

} // namespace

Walked walkPath(const std::string& path, bool followLast) {
    std::vector<std::string> todo;
    fs::path shown;
    Fd dir;
    // The folder of the last name in one call, when no link stands on the way to it.
    const std::size_t slash = path.rfind('/');
    const std::string_view last = slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    if (!last.empty() && last != "." && last != "..") {
        const std::string parent = slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
        if (const int fd = openWithoutLinks(parent); fd >= 0) {
            dir = fd;
            shown = parent;
            todo.emplace_back(last);
        }
    }
    if (dir.get() < 0) {
        pushNames(path, todo);
        shown = !path.empty() && path.front() == '/' ? fs::path("/") : fs::path();
        dir = ::open(shown.empty() ? "." : "/", kHold);
    }
    return walkFrom(dir.release(), std::move(shown), std::move(todo), followLast, Links::Trusted);
}

HeldFolder::HeldFolder(int fd, fs::path path) : fd_(fd), path_(std::move(path)) {}

HeldFolder HeldFolder::heldAt(Walked&& w) {
    if (!w.reached() || !w.exists || !S_ISDIR(w.st.st_mode)) return {};
    if (w.name == ".") return std::move(w.folder);
    const int fd = ::openat(w.folder.fd(), w.name.c_str(), kHold | O_NOFOLLOW);
    struct stat st{};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !sameFile(st, w.st)) {
        if (fd >= 0) ::close(fd);
        return {};
    }
    return HeldFolder(fd, w.folder.path() / w.name);
}

HeldFolder HeldFolder::open(const fs::path& dir) { return heldAt(walkPath(dir.empty() ? std::string(".") : dir.string())); }

std::string HeldFolder::pathOf(std::string_view name) const {
    if (name == ".") return path_.empty() ? std::string(".") : path_.string();
    return (path_ / std::string(name)).string();
}

HeldFolder HeldFolder::within(std::string_view relative) const {
    if (fd_ < 0 || relative.empty()) return {};
    const bool absolute = relative.front() == '/';
    fs::path shown = (absolute ? fs::path(std::string(relative)) : path_ / std::string(relative)).lexically_normal();
    if (!shown.has_filename() && shown != shown.root_path()) shown = shown.parent_path();
    std::vector<std::string> todo;
    pushNames(relative, todo);
    todo.insert(todo.begin(), ".");  // the folder itself at the end, not a name in it
    HeldFolder held = heldAt(walkFrom(absolute ? ::open("/", kHold) : ::fcntl(fd_, F_DUPFD_CLOEXEC, 0), path_,
                                      std::move(todo), false, Links::None));
    if (held) held.path_ = std::move(shown);
    return held;
}

HeldFolder HeldFolder::dup() const {
    if (fd_ < 0) return {};
    const int fd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    return fd < 0 ? HeldFolder() : HeldFolder(fd, path_);
}

HeldFolder::~HeldFolder() {
    if (fd_ >= 0) ::close(fd_);
}

HeldFolder::HeldFolder(HeldFolder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

HeldFolder& HeldFolder::operator=(HeldFolder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool HeldFolder::stat(std::string_view name, struct stat& st) const {
    if (fd_ < 0 || name.empty()) return false;
    return ::fstatat(fd_, std::string(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

int HeldFolder::openChecked(std::string_view name, const struct stat& found, struct stat& opened) const {
    if (fd_ < 0 || name.empty()) {
        errno = EBADF;
        return -1;
    }
    const int fd = ::openat(fd_, std::string(name).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && sameFile(opened, found)) return fd;
    ::close(fd);
    errno = ESTALE;
    return -1;
}

int HeldFolder::rename(std::string_view from, const HeldFolder& to, std::string_view toName) const {
    if (fd_ < 0 || to.fd_ < 0 || from.empty() || toName.empty()) return EBADF;
    return ::renameat(fd_, std::string(from).c_str(), to.fd_, std::string(toName).c_str()) == 0 ? 0 : errno;
}

namespace {

int renameWithoutReplacing(int fromFd, const char* from, int toFd, const char* to) {
    return ::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
}

}  // namespace

int HeldFolder::renameNew(std::string_view from, const HeldFolder& to, std::string_view toName) const {
    if (fd_ < 0 || to.fd_ < 0 || from.empty() || toName.empty()) return EBADF;
    const std::string a(from), b(toName);
    const int err = (renameNoReplace ? renameNoReplace : renameWithoutReplacing)(fd_, a.c_str(), to.fd_, b.c_str());
    if (err != EINVAL && err != ENOSYS) return err;
    // A file system without such a rename (the FUSE ones: exFAT, NTFS): the name is taken
    // first by a file made where no name is, and a plain rename replaces only that file,
    // while it is still the one made. Not a second link then the first removed: a record
    // with two links for a moment is one any settler meeting it then passes over, and both
    // of two settlers could take it.
    const int made = ::openat(to.fd_, b.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (made < 0) return errno;
    struct stat mine{}, now{};
    const bool known = ::fstat(made, &mine) == 0;
    ::close(made);
    const auto stillMine = [&] {
        return known && ::fstatat(to.fd_, b.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(now, mine);
    };
    if (!stillMine()) return EEXIST;
    if (::renameat(fd_, a.c_str(), to.fd_, b.c_str()) == 0) return 0;
    const int failed = errno;
    if (stillMine()) ::unlinkat(to.fd_, b.c_str(), 0);
    return failed;
}

int writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int HeldFolder::remove(std::string_view name) const {
    if (fd_ < 0 || name.empty()) return EBADF;
    return ::unlinkat(fd_, std::string(name).c_str(), 0) == 0 ? 0 : errno;
}

bool HeldFolder::names(const std::function<bool(std::string_view)>& keep, std::vector<std::string>& out) const {
    if (fd_ < 0) return false;
    const int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // a listing of its own
    DIR* d = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!d) {
        if (fd >= 0) ::close(fd);
        return false;
    }
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view n(e->d_name);
        if (n != "." && n != ".." && keep(n)) out.emplace_back(n);
    }
    const bool whole = errno == 0;
    ::closedir(d);
    return whole;
}

bool HeldFolder::sameAs(const HeldFolder& other) const {
    struct stat a{}, b{};
    return fd_ >= 0 && other.fd_ >= 0 && ::fstat(fd_, &a) == 0 && ::fstat(other.fd_, &b) == 0 && sameFile(a, b);
}

void HeldFolder::sync() const {
    if (fd_ < 0) return;
    const int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace trelvik

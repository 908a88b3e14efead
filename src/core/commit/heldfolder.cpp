#include "core/commit/heldfolder.h"

#include <cerrno>
#include <dirent.h>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace trelvik::working::detail {

namespace fs = std::filesystem;

HeldFolder::HeldFolder(int fd, fs::path path) : fd_(fd), path_(std::move(path)) {}

HeldFolder HeldFolder::open(const fs::path& dir) {
    const fs::path p = dir.empty() ? fs::path(".") : dir;
    const int fd = ::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? HeldFolder() : HeldFolder(fd, p);
}

HeldFolder HeldFolder::within(std::string_view relative) const {
    if (fd_ < 0 || relative.empty()) return {};
    const bool absolute = relative.front() == '/';
    fs::path shown = (absolute ? fs::path(std::string(relative)) : path_ / std::string(relative)).lexically_normal();
    if (!shown.has_filename() && shown != shown.root_path()) shown = shown.parent_path();
    int fd = absolute ? ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    while (fd >= 0 && !relative.empty()) {
        const std::size_t slash = relative.find('/');
        const std::string step(relative.substr(0, slash));
        relative = slash == std::string_view::npos ? std::string_view() : relative.substr(slash + 1);
        if (step.empty() || step == ".") continue;
        const int next = ::openat(fd, step.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    return fd < 0 ? HeldFolder() : HeldFolder(fd, shown);
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

int HeldFolder::rename(std::string_view from, const HeldFolder& to, std::string_view toName) const {
    if (fd_ < 0 || to.fd_ < 0 || from.empty() || toName.empty()) return EBADF;
    return ::renameat(fd_, std::string(from).c_str(), to.fd_, std::string(toName).c_str()) == 0 ? 0 : errno;
}

int HeldFolder::renameNew(std::string_view from, const HeldFolder& to, std::string_view toName) const {
    if (fd_ < 0 || to.fd_ < 0 || from.empty() || toName.empty()) return EBADF;
    const std::string a(from), b(toName);
    if (::renameat2(fd_, a.c_str(), to.fd_, b.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without it: a second link, made only where no name is, then the first
    // goes. One that takes no links either says so (ENOTSUP), not that it cannot be written.
    if (::linkat(fd_, a.c_str(), to.fd_, b.c_str(), 0) != 0) return errno == EPERM || errno == EOPNOTSUPP ? ENOTSUP : errno;
    return ::unlinkat(fd_, a.c_str(), 0) == 0 ? 0 : errno;
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
    return fd_ >= 0 && other.fd_ >= 0 && ::fstat(fd_, &a) == 0 && ::fstat(other.fd_, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace trelvik::working::detail

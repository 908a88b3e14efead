#pragma once
// A folder opened once, for the settling of cut commits (core/commit/workingfiles.h): every stat,
// rename, removal and read made through it names a plain name in it and never follows a
// link, so a folder swapped for a link meanwhile changes nothing outside the one opened.
//
//   open(dir)               the folder at dir as the user's path reaches it.
//   within(relative)        a folder named from this one, one name at a time ("a/../b"),
//                           none of them a link; an empty folder when any step fails. An
//                           absolute path is walked the same way from the root.
//   stat / rename / remove  of a plain name in the folder, never through a link.
//   renameNew               as rename, but never over a file that is there (EEXIST).
//   names(keep)             the names in the folder that keep(name) accepts.
//   sameAs(other)           true when both are the one folder on disk.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace trelvik::working::detail {

class HeldFolder {
public:
    HeldFolder() = default;
    static HeldFolder open(const std::filesystem::path& dir);
    HeldFolder within(std::string_view relative) const;
    ~HeldFolder();
    HeldFolder(HeldFolder&& other) noexcept;
    HeldFolder& operator=(HeldFolder&& other) noexcept;
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    explicit operator bool() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // The path the folder was reached by, for messages.
    const std::filesystem::path& path() const { return path_; }
    std::string pathOf(std::string_view name) const { return (path_ / std::string(name)).string(); }

    bool stat(std::string_view name, struct stat& st) const;
    // 0 when done, else the error number.
    int rename(std::string_view from, const HeldFolder& to, std::string_view toName) const;
    int renameNew(std::string_view from, const HeldFolder& to, std::string_view toName) const;
    int remove(std::string_view name) const;
    // False when the folder could not be listed whole.
    bool names(const std::function<bool(std::string_view)>& keep, std::vector<std::string>& out) const;
    bool sameAs(const HeldFolder& other) const;

private:
    HeldFolder(int fd, std::filesystem::path path);
    int fd_ = -1;
    std::filesystem::path path_;
};

} // namespace trelvik::working::detail

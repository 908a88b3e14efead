#pragma once
// The one way to a file. Every path the program opens, for reading, for saving or for
// making a folder, is walked from a folder held open, one name at a time, as systemd's
// chase() does; what is then opened, made, renamed or removed is a plain name in the
// folder the walk ended in, never through a link, so a name swapped meanwhile for a link
// reaches nothing the walk did not judge.
//
// A symbolic link met on the way (a folder's or the last name's) is followed only when
// nobody but the user, root, or the sole writer of the folder it stands in could have
// made it: the user's own links, root's (a /home that points to another disk), and a
// colleague's link in a folder only that colleague may write. Another user's link in a
// folder others may write is refused, naming it and its owner: it could aim a read or a
// save at any file of the user's.
//
//   walkPath(path)          the folder holding path's last name, held open, and that
//                           name, with what stands there (a link of the user's own at the
//                           last name followed too); or why the walk stopped.
//   HeldFolder::open(dir)   the folder dir names, walked so; an empty folder when it is
//                           not one or the walk stops.
//   within(relative)        a folder named from this one, walked the same way ("a/../b")
//                           but through no link at all; an empty folder when any step
//                           fails. An absolute path is walked from the root.
//   stat / rename / remove  of a plain name in the folder, never through a link.
//   openChecked             a plain name opened for reading only while it is the file found.
//   renameNew               as rename, but never over a file that is there (EEXIST).
//   names(keep)             the names in the folder that keep(name) accepts.
//   sameAs(other)           true when both are the one folder on disk.
//   sync()                  makes the renames and new names in the folder durable.
//   writeAll(fd, data)      all of data written to a file opened so.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace trelvik {

struct Walked;

class HeldFolder {
public:
    HeldFolder() = default;
    // Takes over fd, a folder reached as path.
    HeldFolder(int fd, std::filesystem::path path);
    static HeldFolder open(const std::filesystem::path& dir);
    HeldFolder within(std::string_view relative) const;
    // A second hold on the same folder.
    HeldFolder dup() const;
    ~HeldFolder();
    HeldFolder(HeldFolder&& other) noexcept;
    HeldFolder& operator=(HeldFolder&& other) noexcept;
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    explicit operator bool() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // The path the folder was reached by, for messages.
    const std::filesystem::path& path() const { return path_; }
    std::string pathOf(std::string_view name) const;

    bool stat(std::string_view name, struct stat& st) const;
    // Opens the regular file `name` for reading, without following a link or waiting, only
    // while it is the file `found` (by id): what was judged is what is read. -1 otherwise,
    // errno ESTALE when something else stands there now; `opened` gets its status.
    int openChecked(std::string_view name, const struct stat& found, struct stat& opened) const;
    // 0 when done, else the error number.
    int rename(std::string_view from, const HeldFolder& to, std::string_view toName) const;
    int renameNew(std::string_view from, const HeldFolder& to, std::string_view toName) const;
    int remove(std::string_view name) const;
    // False when the folder could not be listed whole.
    bool names(const std::function<bool(std::string_view)>& keep, std::vector<std::string>& out) const;
    bool sameAs(const HeldFolder& other) const;
    void sync() const;

private:
    // The folder a walk found at its last name, held.
    static HeldFolder heldAt(Walked&& w);
    int fd_ = -1;
    std::filesystem::path path_;
};

// Where a walk ended.
struct Walked {
    HeldFolder folder;  // holds `name`; empty when the walk stopped short
    std::string name;   // the last name: never a link the walk would follow; "." for the folder itself
    bool exists = false;
    struct stat st{};  // what stands at name, when it exists
    int err = 0;       // why the walk stopped short (ENOENT, ENOTDIR, EACCES, ELOOP...)
    // A link of another user the walk would not follow, as the path reached it, and its owner.
    std::string othersLink;
    uid_t owner = 0;
    bool reached() const { return folder && othersLink.empty() && err == 0; }
    // The path of the last name as the walk reached it: through the links it followed.
    std::string path() const { return folder.pathOf(name); }
};

// followLast false: a link at the last name is that name itself (to be removed, say).
Walked walkPath(const std::string& path, bool followLast = true);

// Writes all of data to the open file fd, across interrupted and partial writes: 0, or
// the error number of the write that failed.
int writeAll(int fd, std::string_view data);

// True when a link with status `link`, standing in a folder with status `folder`, could
// have been made by nobody but the user, root, or the folder's sole writer.
bool trustedLink(const struct stat& link, const struct stat& folder);

// Whose a file is, for a message: the user's name, or "user <uid>".
std::string ownerName(uid_t owner);

} // namespace trelvik

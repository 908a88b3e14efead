#pragma once
// Private working space in the system's temporary folder, for intermediate files that
// must never collide with, or overwrite, the user's own files.
//
//   PrivateFolder    a new folder that nobody else writes to; removed, with whatever is
//                    left in it, when the object goes. Named "trelvik-<tag>.<stamp>", the
//                    stamp telling the host and process that made it (core/commit/workingfiles.h):
//                    making one first removes the folders of runs on this host whose
//                    process has ended (a run killed before it could remove its own),
//                    as removeEndedPrivateFolders does when the program starts.
//   PrivateTempFile  one file name inside its own private folder; the file and folder go
//                    with the object.
//   inPrivateFolder  true when a path names a file in a private folder of this run that
//                    still exists: such files go with their folder, so writers need not
//                    sync them to disk.
#include <filesystem>
#include <string>

namespace trelvik {

class PrivateFolder {
public:
    // tag becomes part of the folder name, to tell whose folder it is.
    explicit PrivateFolder(const std::string& tag = "work");
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

class PrivateTempFile {
public:
    explicit PrivateTempFile(const std::string& extension = ".dat");
    const std::string& path() const { return path_; }

private:
    PrivateFolder folder_;
    std::string path_;
};

bool inPrivateFolder(const std::string& path);

void removeEndedPrivateFolders();

} // namespace trelvik

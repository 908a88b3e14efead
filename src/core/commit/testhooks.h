#pragma once
// Places where a test steps into a save, a commit or a settle, as a kill, another settler
// or someone sharing the folder would: each is called there when set, and left unset by
// the program itself.
#include <cstddef>
#include <filesystem>
#include <string>
#include <sys/types.h>

namespace trelvik {

// Called with each working name a ReplacementFile is about to make, before it makes it:
// a test puts a link there first, as someone sharing the folder might.
inline void (*beforeWorkingFileMade)(const std::string& name) = nullptr;
// Called in place of the rename that replaces no file: a test returns EINVAL there, as a file
// system without it does (exFAT and NTFS through FUSE). Returns 0 or the error number.
inline int (*renameNoReplace)(int fromFd, const char* from, int toFd, const char* to) = nullptr;

} // namespace trelvik

namespace trelvik::working {

// Called before the first rename of a commit and after each, with the number renamed so
// far: a test stops a process there as a kill would.
inline void (*afterCommitRename)(std::size_t renamed) = nullptr;
// Called once the sweep has listed a folder, before it reads the records it found: a test
// claims one there as another settler might.
inline void (*afterSweepListing)(const std::filesystem::path& dir) = nullptr;
// Called once a settle has read a record in dir, before it checks what the record names:
// a test settles the commit there as another settler might.
inline void (*afterRecordRead)(const std::filesystem::path& dir) = nullptr;
// Called each time a settle has listed the records in dir, before it reads them: a test
// renames one there as someone sharing the folder might.
inline void (*afterSettleListing)(const std::filesystem::path& dir) = nullptr;
// Called once a settle has claimed a record in dir, before it reads the claim: a test puts
// a file where the record was, as someone sharing the folder might.
inline void (*afterClaim)(const std::filesystem::path& dir) = nullptr;
// Called once an undo has found a target empty, before it puts the kept old file there: a test saves one there.
inline void (*beforePutBack)(const std::filesystem::path& dir) = nullptr;
// Called in place of the change of mode a commit record gets once made (0600): a test
// refuses it and shows the file as a disk without Unix permissions does. Returns 0 or -1
// with errno set, as fchmod does.
inline int (*changeRecordMode)(int fd, mode_t mode) = nullptr;

} // namespace trelvik::working

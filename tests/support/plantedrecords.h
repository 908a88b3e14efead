#pragma once
// Commit records written by hand, as someone sharing a folder could write them, for the
// tests of whose records a step obeys.
//
//  plant(dir, ext, entries, writer, folders)  a record of an ended writer of this host in
//                    dir (".commit" or ".undo"), its check right, mode 0600, listing the
//                    folders (fields as given, "." first) and each entry; returns its name.
//  idOf(path), sizeOf(path), timeOf(path)  a file's fields as a record holds them.
//  records(dir)      how many records dir holds.
//  recordStem(dir, except)  the name less ".commit" of the record in dir not named except.
//  workingFileOf(t, name, content)  the working file beside t's `name` that holds content.
#include "core/commit/workingfiles.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "support/tempfolder.h"
#include "support/writefailures.h"

namespace trelvik::testing {

inline std::string field(const std::string& s) { return std::to_string(s.size()) + ":" + s; }

struct Entry {
    std::string target, fresh, kept;
    std::string freshId = "0", oldId = "0", oldSize = "-1", oldTime = "0";
};

inline std::string idOf(const std::string& path) {
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return field(std::to_string(st.st_dev)) + field(std::to_string(st.st_ino));
}
inline std::string sizeOf(const std::string& path) {
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return std::to_string(st.st_size);
}
inline std::string timeOf(const std::string& path) {
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return std::to_string(static_cast<long long>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec);
}

inline std::string plant(const std::filesystem::path& dir, const std::string& ext, const std::vector<Entry>& entries,
                         pid_t writer = endedProcessId(), const std::vector<std::string>& folders = {"."}) {
    std::string text = "trelvik commit record\n";
    for (const std::string& f : folders) text += "F" + field(f) + "\n";
    for (const Entry& e : entries) {
        text += "E" + field(e.target) + field(e.fresh) + field(e.kept);
        text += e.freshId == "0" ? field("0") + field("0") : e.freshId;
        text += e.oldId == "0" ? field("0") + field("0") : e.oldId;
        text += field(e.oldSize) + field(e.oldTime) + "\n";
    }
    const std::string name = working::stamped(".commit.trelvik-", working::hostName(), writer, 0) + ext;
    std::ofstream((dir / name).string(), std::ios::binary) << text + "end\n";
    // As a step makes its records: the user's alone.
    std::filesystem::permissions(dir / name, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    return name;
}

inline std::size_t records(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".commit" || e.path().extension() == ".undo") ++n;
    return n;
}

inline std::string recordStem(const std::filesystem::path& dir, const std::string& except = "") {
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".commit" && e.path().filename() != except) return e.path().stem().string();
    return {};
}

inline std::string workingFileOf(const TempFolder& t, const std::string& name, const std::string& content) {
    for (const auto& e : std::filesystem::directory_iterator(t.dir()))
        if (e.path().filename().string().rfind("." + name + ".trelvik-", 0) == 0 && t.read(e.path().filename()) == content)
            return e.path().string();
    return {};
}

} // namespace trelvik::testing

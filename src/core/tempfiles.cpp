#include "core/tempfiles.h"

#include "core/error.h"
#include "core/heldfolder.h"
#include "core/commit/workingfiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace trelvik {

namespace fs = std::filesystem;

namespace {

working::LiveNames& liveFolders() { return working::livePrivateFolders(); }

constexpr std::string_view kLead = "trelvik-";

} // namespace

// Only folders named as below, by a writer of this host whose process has ended.
void removeEndedPrivateFolders() {
    std::error_code tmp;
    const fs::path base = fs::temp_directory_path(tmp);
    if (tmp) return;
    std::error_code ec;
    for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code st;
        if (!name.starts_with(kLead) || !fs::is_directory(it->symlink_status(st)) ||
            !working::madeByEndedWriter(name, "."))
            continue;
        std::error_code rm;
        fs::remove_all(it->path(), rm);
    }
}

bool inPrivateFolder(const std::string& path) {
    return liveFolders().has(fs::path(path).parent_path().string());
}

PrivateFolder::PrivateFolder(const std::string& tag) {
    std::error_code tmp;
    const fs::path base = fs::temp_directory_path(tmp);
    if (tmp) {
        const char* named = std::getenv("TMPDIR");
        throw Error("Cannot create a working folder: the temporary folder " +
                    (named && *named ? "\"" + std::string(named) + "\" that TMPDIR names" : std::string("\"/tmp\"")) +
                    " is not a folder the program can use (" + tmp.message() + ")");
    }
    removeEndedPrivateFolders();
    const HeldFolder held = HeldFolder::open(base);
    int err = held ? 0 : ENOENT;
    for (int attempt = 0; held && attempt < 100; ++attempt) {
        // "trelvik-<tag>.<host>-<pid>-<n>-<check>" (core/commit/workingfiles.h): whose it is, and
        // when that run has ended.
        const std::string name =
            working::stamped(std::string(kLead) + tag + ".", working::hostName(), ::getpid(), working::unforeseen());
        // The user's alone, as mkdtemp makes it: it holds copies of the user's data.
        if (::mkdirat(held.fd(), name.c_str(), 0700) == 0) {
            dir_ = base / name;
            liveFolders().set(dir_.string(), true);
            return;
        }
        err = errno;
        if (err != EEXIST) break;  // one that exists is someone else's
    }
    throw Error("Cannot create a working folder in " + base.string() + ": " + std::strerror(err));
}

PrivateFolder::~PrivateFolder() {
    liveFolders().set(dir_.string(), false);
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

PrivateTempFile::PrivateTempFile(const std::string& extension)
    : folder_("file"), path_(folder_.file("temp" + extension)) {}

} // namespace trelvik

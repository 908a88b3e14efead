#include "core/tempfiles.h"

#include "core/error.h"
#include "core/commit/workingfiles.h"

#include <string_view>
#include <unistd.h>

namespace trelvik {

namespace fs = std::filesystem;

namespace {

// The folders of the live PrivateFolder objects.
working::LiveNames& liveFolders() {
    static working::LiveNames f;
    return f;
}

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
    const fs::path base = fs::temp_directory_path();
    removeEndedPrivateFolders();
    for (int attempt = 0; attempt < 100; ++attempt) {
        // "trelvik-<tag>.<host>-<pid>-<n>-<check>" (core/commit/workingfiles.h): whose it is, and
        // when that run has ended.
        const fs::path p =
            base / working::stamped(std::string(kLead) + tag + ".", working::hostName(), ::getpid(), working::unforeseen());
        std::error_code ec;
        if (fs::create_directory(p, ec)) {  // false when it exists: someone else's
            dir_ = p;
            liveFolders().set(dir_.string(), true);
            return;
        }
    }
    throw Error("Cannot create a working folder in " + base.string());
}

PrivateFolder::~PrivateFolder() {
    liveFolders().set(dir_.string(), false);
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

PrivateTempFile::PrivateTempFile(const std::string& extension)
    : folder_("file"), path_(folder_.file("temp" + extension)) {}

} // namespace trelvik

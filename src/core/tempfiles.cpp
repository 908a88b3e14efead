#include "core/tempfiles.h"

#include "core/error.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>
#include <unistd.h>
#include <vector>

namespace trelvik {

namespace fs = std::filesystem;

namespace {

// The folders of the live PrivateFolder objects.
struct LiveFolders {
    std::mutex lock;
    std::vector<std::string> dirs;
};

LiveFolders& liveFolders() {
    static LiveFolders f;
    return f;
}

} // namespace

bool inPrivateFolder(const std::string& path) {
    const std::string parent = fs::path(path).parent_path().string();
    LiveFolders& f = liveFolders();
    std::lock_guard<std::mutex> g(f.lock);
    return std::find(f.dirs.begin(), f.dirs.end(), parent) != f.dirs.end();
}

PrivateFolder::PrivateFolder(const std::string& tag) {
    static std::atomic<unsigned long> counter{0};
    std::random_device rd;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path p = base / ("trelvik-" + tag + "-" + std::to_string(::getpid()) + "-" +
                                   std::to_string(counter.fetch_add(1)) + "-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {  // false when it exists: someone else's
            dir_ = p;
            LiveFolders& f = liveFolders();
            std::lock_guard<std::mutex> g(f.lock);
            f.dirs.push_back(dir_.string());
            return;
        }
    }
    throw Error("Cannot create a working folder in " + base.string());
}

PrivateFolder::~PrivateFolder() {
    {
        LiveFolders& f = liveFolders();
        std::lock_guard<std::mutex> g(f.lock);
        const auto it = std::find(f.dirs.begin(), f.dirs.end(), dir_.string());
        if (it != f.dirs.end()) f.dirs.erase(it);
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

PrivateTempFile::PrivateTempFile(const std::string& extension)
    : folder_("file"), path_(folder_.file("temp" + extension)) {}

} // namespace trelvik

#include "core/tempfiles.h"

#include "core/error.h"

#include <atomic>
#include <random>
#include <unistd.h>

namespace trelvik {

namespace fs = std::filesystem;

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
            return;
        }
    }
    throw Error("Cannot create a working folder in " + base.string());
}

PrivateFolder::~PrivateFolder() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

PrivateTempFile::PrivateTempFile(const std::string& extension)
    : folder_("file"), path_(folder_.file("temp" + extension)) {}

} // namespace trelvik

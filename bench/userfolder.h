#pragma once
// A folder standing for the user's own data folder in the benchmarks: a plain folder
// under the system's temporary folder (not one of the program's private working
// folders, whose files are never synced to disk), so that files written there cost what
// they cost in the user's folders. Removed with its content when the object goes.
#include <filesystem>
#include <random>
#include <string>

namespace benchsupport {

class UserFolder {
public:
    explicit UserFolder(const std::string& tag) {
        dir_ = std::filesystem::temp_directory_path() /
               ("trelvik_bench_" + tag + "_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_);
    }
    ~UserFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    UserFolder(const UserFolder&) = delete;
    UserFolder& operator=(const UserFolder&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

} // namespace benchsupport

#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it
// when the test ends.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace trelvik::testing {

// The entries of a folder, to prove that no temporary file stays behind.
inline std::size_t entries(const std::filesystem::path& d) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(d), std::filesystem::directory_iterator()));
}

class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("trelvik_test_" + std::to_string(rd()) + "_" + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string folder() const { return dir_.string(); }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The bytes of each named file, by name: the same before and after a step that left
    // them alone.
    std::map<std::string, std::string> contents(const std::vector<std::string>& names) const {
        std::map<std::string, std::string> out;
        for (const auto& n : names) out[n] = read(n);
        return out;
    }
    // Entries left in the folder (to prove no temporary file stays behind).
    std::size_t fileCount() const {
        std::size_t n = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir_)) ++n;
        return n;
    }

private:
    std::filesystem::path dir_;
};

} // namespace trelvik::testing

#pragma once
// Shared by the viewer's computation tests: a temporary folder, small file helpers
// and lattice grids made from a height function.
#include "csvview/latticegrid.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>

namespace csvtest {

namespace fs = std::filesystem;

struct TempDir {
    fs::path dir;
    TempDir() {
        std::random_device rd;
        dir = fs::temp_directory_path() /
              ("trelvik_csv_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "_" +
               std::to_string(rd()));
        fs::create_directories(dir);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string folder() const { return dir.string() + "/"; }
    std::string path(const std::string& name) const { return (dir / name).string(); }
};

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// cols x rows grid on x = x0 + (c-1)*h, y = y0 + (r-1)*h with z = f(x, y).
inline trelvik::csvview::LatticeGrid makeGrid(int cols, int rows, double h, double x0, double y0,
                                              const std::function<double(double, double)>& f) {
    trelvik::csvview::LatticeGrid g(cols, rows);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) {
            const double x = x0 + (c - 1) * h, y = y0 + (r - 1) * h;
            g.at(c, r) = {x, y, f(x, y)};
            g.filled[g.index(c, r)] = 1;
        }
    return g;
}

} // namespace csvtest

#include "surfer/gridcache.h"

#include "core/heldfolder.h"

#include <sys/stat.h>

#include <algorithm>
#include <list>
#include <mutex>

namespace surfer::detail {

using trelvik::Grid;

std::optional<FileStamp> fileStamp(const std::string& path) {
    // Found as a read finds it: a name that reaches the file only through another user's
    // link is no file of the cache's, however like a grid read before it is.
    const trelvik::Walked w = trelvik::walkPath(path);
    if (!w.reached() || !w.exists || !S_ISREG(w.st.st_mode)) return std::nullopt;
    const struct stat& st = w.st;
    FileStamp s;
    s.dev = static_cast<unsigned long long>(st.st_dev);
    s.ino = static_cast<unsigned long long>(st.st_ino);
    s.size = static_cast<long long>(st.st_size);
    s.mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    s.ctime = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
    return s;
}

namespace {

struct Entry {
    std::string path;
    FileStamp stamp;
    Grid grid;
    std::size_t bytes() const { return grid.z.size() * sizeof(double); }
};

// Most recently used first.
struct Cache {
    std::mutex lock;
    std::list<Entry> entries;
    std::size_t bytes = 0;

    void erase(std::list<Entry>::iterator it) {
        bytes -= it->bytes();
        entries.erase(it);
    }
    std::list<Entry>::iterator find(const std::string& path) {
        return std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.path == path; });
    }
};

Cache& cache() {
    static Cache c;
    return c;
}

} // namespace

std::optional<Grid> cachedGrid(const std::string& path, const std::optional<FileStamp>& now) {
    Cache& c = cache();
    std::lock_guard<std::mutex> g(c.lock);
    const auto it = c.find(path);
    if (it == c.entries.end()) return std::nullopt;
    if (!now || !(*now == it->stamp)) {
        c.erase(it);
        return std::nullopt;
    }
    c.entries.splice(c.entries.begin(), c.entries, it);
    return it->grid;
}

void keepGrid(const std::string& path, const std::optional<FileStamp>& now, Grid grid) {
    const std::size_t bytes = grid.z.size() * sizeof(double);
    Cache& c = cache();
    std::lock_guard<std::mutex> g(c.lock);
    if (const auto it = c.find(path); it != c.entries.end()) c.erase(it);
    // Entries of files deleted or changed since are of no more use.
    for (auto it = c.entries.begin(); it != c.entries.end();) {
        const std::optional<FileStamp> s = fileStamp(it->path);
        const auto here = it++;
        if (!s || !(*s == here->stamp)) c.erase(here);
    }
    if (!now || bytes > kGridCacheBytes) return;
    while (!c.entries.empty() && c.bytes + bytes > kGridCacheBytes) c.erase(std::prev(c.entries.end()));
    c.entries.push_front(Entry{path, *now, std::move(grid)});
    c.bytes += bytes;
}

void forgetGrid(const std::string& path) {
    Cache& c = cache();
    std::lock_guard<std::mutex> g(c.lock);
    if (const auto it = c.find(path); it != c.entries.end()) c.erase(it);
}

void clearGridCache() {
    Cache& c = cache();
    std::lock_guard<std::mutex> g(c.lock);
    c.entries.clear();
    c.bytes = 0;
}

Grid asReadBackFromSurfer7(const Grid& in) {
    Grid g;
    g.cols = in.cols;
    g.rows = in.rows;
    g.z.reserve(in.z.size());
    for (double z : in.z) g.z.push_back(trelvik::isBlank(z) ? trelvik::kBlank : z);
    // The file holds the lower limits and the spacings; the reader adds them up again.
    const double xLast = in.xMin + in.xSpacing() * static_cast<double>(in.cols - 1);
    const double yLast = in.yMin + in.ySpacing() * static_cast<double>(in.rows - 1);
    g.xMin = std::min(in.xMin, xLast);
    g.xMax = std::max(in.xMin, xLast);
    g.yMin = std::min(in.yMin, yLast);
    g.yMax = std::max(in.yMin, yLast);
    return g;
}

} // namespace surfer::detail

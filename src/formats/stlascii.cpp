#include "formats/stlascii.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/linecuts.h"
#include "core/parallelblocks.h"
#include "core/textform.h"
#include "core/commit/workingfiles.h"
#include "formats/pointtextblocks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>
#include <vector>

namespace trelvik::formats {

namespace {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool readNumber(const char*& p, const char* end, double& v) {
    while (p < end && (isBlank(*p) || *p == ',')) ++p;
    if (p >= end) return false;
    const char* q = p;
    while (q < end && !isBlank(*q) && *q != ',') ++q;
    const char* b = *p == '+' ? p + 1 : p;
    const auto res = std::from_chars(b, q, v);
    if (res.ptr != q || res.ec != std::errc() || !std::isfinite(v)) return false;
    p = q;
    return true;
}

// The vertices of whole lines [p, end), their count of lines, and the line (counted
// within these lines) of the first vertex line without three numbers, if any.
struct LinesRead {
    PointList pts;
    std::size_t lines = 0;
    std::optional<std::size_t> badLine;
};

LinesRead readLines(const char* p, const char* const end) {
    LinesRead out;
    out.pts.reserve(static_cast<std::size_t>(end - p) / 120 * 3 + 3);
    while (p < end) {
        const char* eol = p;
        while (eol < end && *eol != '\n' && *eol != '\r') ++eol;
        ++out.lines;
        const char* s = p;
        while (s < eol && isBlank(*s)) ++s;
        if (eol - s >= 6 && std::memcmp(s, "vertex", 6) == 0) {
            const char* q = s + 6;
            PointXYZ v;
            if (q < eol && !isBlank(*q)) {
                // "vertexnormal" or the like: not a vertex line.
            } else if (readNumber(q, eol, v.x) && readNumber(q, eol, v.y) && readNumber(q, eol, v.z)) {
                out.pts.push_back(v);
            } else {
                out.badLine = out.lines;
                return out;
            }
        }
        p = eol;
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
    }
    return out;
}

std::uint64_t bitsOf(double d) {
    if (d == 0) d = 0;  // -0 and 0 are equal and must hash alike
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

std::uint64_t vertexHash(const PointXYZ& p) {
    std::uint64_t x = bitsOf(p.x) * 0x9E3779B97F4A7C15ull;
    x ^= bitsOf(p.y) + 0x7F4A7C159E3779B9ull + (x << 6) + (x >> 2);
    x ^= bitsOf(p.z) + 0x94D049BB133111EBull + (x << 6) + (x >> 2);
    return x ^ (x >> 29);
}

bool sameVertex(const PointXYZ& a, const PointXYZ& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

constexpr std::size_t kShards = 256;
// Files of this size or more are read in pieces of about this size or more.
constexpr std::size_t kFilePiece = std::size_t{1} << 18;
constexpr std::size_t kBlock = 1 << 16;

// Marks the first occurrence of every vertex (exact repeats after it are not marked).
// Equal vertices share a hash and so a shard; each shard is visited in input order by
// one thread, so the first occurrence is the one marked whatever the thread count.
std::vector<std::uint8_t> firstOccurrences(const PointList& v) {
    const std::size_t n = v.size();
    std::vector<std::uint64_t> hash(n);
    const std::size_t blocks = (n + kBlock - 1) / kBlock;
    std::vector<std::uint32_t> counts(blocks * kShards, 0);  // per block, per shard
    forEachBlock(n, kBlock, [&](std::size_t first, std::size_t end) {
        std::uint32_t* c = counts.data() + first / kBlock * kShards;
        for (std::size_t i = first; i < end; ++i) {
            hash[i] = vertexHash(v[i]);
            ++c[hash[i] % kShards];
        }
    });
    // Indices grouped by shard, in input order within a shard.
    std::vector<std::size_t> shardStart(kShards + 1, 0);
    std::vector<std::size_t> offset(blocks * kShards);
    std::size_t at = 0;
    for (std::size_t s = 0; s < kShards; ++s) {
        shardStart[s] = at;
        for (std::size_t b = 0; b < blocks; ++b) {
            offset[b * kShards + s] = at;
            at += counts[b * kShards + s];
        }
    }
    shardStart[kShards] = at;
    std::vector<std::uint64_t> byShard(n);
    forEachBlock(n, kBlock, [&](std::size_t first, std::size_t end) {
        std::size_t* o = offset.data() + first / kBlock * kShards;
        for (std::size_t i = first; i < end; ++i) byShard[o[hash[i] % kShards]++] = i;
    });
    std::vector<std::uint8_t> first(n, 0);
    // A small surface is not worth the threads: its shards are visited on this one.
    forEachBlock(kShards, n < kBlock ? kShards : 1, [&](std::size_t s0, std::size_t s1) {
        for (std::size_t s = s0; s < s1; ++s) {
            const std::size_t count = shardStart[s + 1] - shardStart[s];
            std::size_t cap = 16;
            while (cap < 2 * count) cap *= 2;
            std::vector<std::uint64_t> table(cap, 0);  // input index + 1; 0 is empty
            for (std::size_t k = shardStart[s]; k < shardStart[s + 1]; ++k) {
                const std::uint64_t i = byShard[k];
                std::size_t slot = (hash[i] / kShards) & (cap - 1);
                for (;;) {
                    const std::uint64_t held = table[slot];
                    if (held == 0) {
                        table[slot] = i + 1;
                        first[i] = 1;
                        break;
                    }
                    if (sameVertex(v[held - 1], v[i])) break;
                    slot = (slot + 1) & (cap - 1);
                }
            }
        }
    });
    return first;
}

PointList joinParts(std::vector<LinesRead>& parts, const std::string& path) {
    const std::size_t chunks = parts.size();
    std::size_t lineBefore = 0, total = 0;
    for (const LinesRead& part : parts) {
        if (part.badLine)
            throw Error(path + ": line " + std::to_string(lineBefore + *part.badLine) +
                        ": a vertex line without three numbers");
        lineBefore += part.lines;
        total += part.pts.size();
    }
    if (total == 0) throw Error(path + ": no vertex lines were found; is it an ASCII STL file?");
    if (chunks == 1) return std::move(parts[0].pts);
    PointList pts;
    pts.reserve(total);
    for (LinesRead& part : parts) {
        pts.insert(pts.end(), part.pts.begin(), part.pts.end());
        PointList().swap(part.pts);
    }
    return pts;
}

PointList readInPieces(int fd, std::size_t size, const std::string& path) {
    // Pieces cut after line feeds, each read and parsed on a thread of its own: no copy
    // of the whole file is made first.
    const blocks::FileRanges reader(fd, size, path);
    char head[4096];
    const std::size_t headLen = std::min(sizeof head, size);
    reader.read(0, head, headLen);
    if (looksLikeBinaryStl({head, headLen}, size))
        throw Error(path + ": binary STL is not supported; save as ASCII STL");
    std::vector<std::size_t> starts{0};
    const std::size_t want = std::max<std::size_t>(1, std::min<std::size_t>(workerCount() * 4, size / kFilePiece));
    for (std::size_t k = 1; k < want; ++k) {
        const std::size_t at = reader.afterLineFeed(std::max(starts.back(), size / want * k));
        if (at >= size) break;
        starts.push_back(at);
    }
    starts.push_back(size);
    std::vector<LinesRead> parts(starts.size() - 1);
    forEachBlock(parts.size(), 1, [&](std::size_t c0, std::size_t c1) {
        for (std::size_t c = c0; c < c1; ++c) {
            const std::size_t len = starts[c + 1] - starts[c];
            const auto text = std::make_unique_for_overwrite<char[]>(len);  // read over at once
            reader.read(starts[c], text.get(), len);
            parts[c] = readLines(text.get(), text.get() + len);
        }
    });
    return joinParts(parts, path);
}

} // namespace

bool looksLikeBinaryStl(std::string_view bytes) { return looksLikeBinaryStl(bytes, bytes.size()); }

bool looksLikeBinaryStl(std::string_view head, std::size_t fileSize) {
    if (fileSize >= 84 && head.size() >= 84) {
        std::uint32_t facets = 0;
        std::memcpy(&facets, head.data() + 80, 4);
        if (84 + 50ull * facets == fileSize) return true;
    }
    return head.substr(0, std::min<std::size_t>(head.size(), 4096)).find('\0') != std::string_view::npos;
}

PointList parseAsciiStlVertices(std::string_view text, const std::string& path) {
    return parseAsciiStlVertices(text, path, std::size_t{1} << 20);
}

PointList parseAsciiStlVertices(std::string_view text, const std::string& path, std::size_t minChunk) {
    if (looksLikeBinaryStl(text)) throw Error(path + ": binary STL is not supported; save as ASCII STL");
    const std::size_t want =
        std::max<std::size_t>(1, std::min<std::size_t>(workerCount() * 4, text.size() / std::max<std::size_t>(minChunk, 1)));
    const std::vector<const char*> starts = cutAfterLineFeeds(text.data(), text.data() + text.size(), want);
    const std::size_t chunks = starts.size() - 1;
    std::vector<LinesRead> parts(chunks);
    forEachBlock(chunks, 1, [&](std::size_t c0, std::size_t c1) {
        for (std::size_t c = c0; c < c1; ++c) parts[c] = readLines(starts[c], starts[c + 1]);
    });
    return joinParts(parts, path);
}

PointList readAsciiStlVertices(const std::string& path) {
    // Large files are read and parsed in pieces, a small one whole.
    working::settleBeforeReading(path);
    InputFile in(path);
    if (in.size() >= kFilePiece) return readInPieces(in.fd(), static_cast<std::size_t>(in.size()), path);
    return parseAsciiStlVertices(in.readAll(), path);
}

PointList distinctVertices(const PointList& v) {
    PointList uniq;
    if (v.empty()) return uniq;
    {
        const std::vector<std::uint8_t> first = firstOccurrences(v);
        std::size_t count = 0;
        for (std::uint8_t f : first) count += f;
        uniq.reserve(count);
        for (std::size_t i = 0; i < v.size(); ++i)
            if (first[i]) uniq.push_back(v[i]);
    }
    double xmin = v[0].x, xmax = xmin, ymin = v[0].y, ymax = ymin;
    for (const auto& p : v) {
        xmin = std::min(xmin, p.x);
        xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
    }
    constexpr int kBins = 1000;
    const double w = (xmax - xmin) / kBins, h = (ymax - ymin) / kBins;
    auto bin = [](double d, double size) {
        if (!(size > 0)) return 1;
        const double c = std::floor(text::Round(d, 8) / size) + 1;
        if (!(c >= 1)) return 1;  // also a range too wide for a double (NaN)
        return c > kBins ? kBins : static_cast<int>(c);
    };
    std::vector<std::uint32_t> key(uniq.size());
    forEachBlock(uniq.size(), kBlock, [&](std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i)
            key[i] = static_cast<std::uint32_t>((bin(uniq[i].x - xmin, w) - 1) * kBins + (bin(uniq[i].y - ymin, h) - 1));
    });
    // Stable by bin, so file order stays within a bin: a counting sort over the bins for
    // many vertices, a stable sort for few (the bins' table would cost more than them).
    PointList out(uniq.size());
    if (uniq.size() < kBlock) {
        std::vector<std::uint32_t> idx(uniq.size());
        std::iota(idx.begin(), idx.end(), 0u);
        std::stable_sort(idx.begin(), idx.end(), [&](std::uint32_t a, std::uint32_t b) { return key[a] < key[b]; });
        for (std::size_t k = 0; k < idx.size(); ++k) out[k] = uniq[idx[k]];
        return out;
    }
    std::vector<std::size_t> start(static_cast<std::size_t>(kBins) * kBins + 1, 0);
    for (std::uint32_t k : key) ++start[k + 1];
    for (std::size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
    for (std::size_t i = 0; i < uniq.size(); ++i) out[start[key[i]]++] = uniq[i];
    return out;
}

} // namespace trelvik::formats

#include "formats/numberrows.h"

#include "core/error.h"
#include "core/parallelblocks.h"
#include "formats/numberforms.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace trelvik::formats {

namespace {

// Rows are formatted a round at a time: a few blocks per thread, each in a slot of the
// round's buffer sized for its worst case, then written to the file in order. Memory
// stays at one round whatever the file's size; the buffer is reused from round to round.
constexpr std::size_t kBlockBytes = 1 << 18;
constexpr std::size_t kBlocksPerThread = 2;

template <class BlockFn>
void streamBlocks(ChunkWriter& w, std::size_t rows, std::size_t maxRowChars, BlockFn&& block) {
    if (rows == 0) return;
    maxRowChars = std::max<std::size_t>(maxRowChars, 1);
    const std::size_t blockRows = std::max<std::size_t>(1, kBlockBytes / maxRowChars);
    const std::size_t slots = std::max<std::size_t>(1, workerCount() * kBlocksPerThread);
    const std::size_t roundRows = blockRows * slots;
    const std::size_t slotSize = blockRows * maxRowChars;
    // One buffer for a round, a slot per block; written over before it is read, so it
    // is not cleared. After a round the blocks are closed up and go out in one write.
    const auto round = std::make_unique_for_overwrite<char[]>(slots * slotSize);
    std::vector<std::size_t> used(slots, 0);
    for (std::size_t r0 = 0; r0 < rows; r0 += roundRows) {
        const std::size_t r1 = std::min(rows, r0 + roundRows);
        forEachBlock(r1 - r0, blockRows, [&](std::size_t first, std::size_t end) {
            const std::size_t slot = first / blockRows;
            char* begin = round.get() + slot * slotSize;
            used[slot] = static_cast<std::size_t>(block(r0 + first, r0 + end, begin) - begin);
        });
        std::size_t length = used[0];
        for (std::size_t slot = 1; slot * blockRows < r1 - r0; ++slot) {
            std::memmove(round.get() + length, round.get() + slot * slotSize, used[slot]);
            length += used[slot];
        }
        w.put({round.get(), length});
    }
}

} // namespace

void writeRows(ChunkWriter& w, std::size_t rows, std::size_t maxRowChars, const RowFormatter& format) {
    streamBlocks(w, rows, maxRowChars, [&](std::size_t first, std::size_t end, char* out) {
        for (std::size_t r = first; r < end; ++r) {
            char* const rowEnd = format(r, out);
            // A formatter that outgrew its room has written into the next row's slot:
            // stop before that text can reach the file.
            if (static_cast<std::size_t>(rowEnd - out) > maxRowChars)
                throw Error("A row of " + std::to_string(rowEnd - out) + " characters outgrew its room of " +
                            std::to_string(maxRowChars) + "; nothing was written.");
            out = rowEnd;
        }
        return out;
    });
}

void writeNumberRows(ChunkWriter& w, std::size_t rows, int cols, const RowValues& values, char separator,
                     std::string_view after) {
    if (cols < 1) throw Error("A row of numbers needs at least one column");
    const std::size_t n = static_cast<std::size_t>(cols);
    streamBlocks(w, rows, n * kNumberRoom + after.size() + 2, [&](std::size_t first, std::size_t end, char* out) {
        std::vector<double> v(n);
        for (std::size_t r = first; r < end; ++r) {
            values(r, v.data());
            out = writeGeneralNumber(out, v[0]);
            for (std::size_t c = 1; c < n; ++c) {
                *out++ = separator;
                out = writeGeneralNumber(out, v[c]);
            }
            out = std::copy(after.begin(), after.end(), out);
            *out++ = '\r';
            *out++ = '\n';
        }
        return out;
    });
}

void writeNumberRowsFile(const std::string& path, std::size_t rows, int cols, const RowValues& values,
                         char separator, std::string_view after) {
    ChunkWriter w(path);
    writeNumberRows(w, rows, cols, values, separator, after);
    w.commit();
}

char* writePrintZoneRow(char* out, const double* values, int n) {
    constexpr std::size_t kZone = 14;
    char* const start = out;
    for (int i = 0; i < n; ++i) {
        if (i > 0) {
            const std::size_t rem = static_cast<std::size_t>(out - start) % kZone;
            if (rem != 0) out = std::fill_n(out, kZone - rem, ' ');
        }
        out = writePrintForm(out, values[i], -1);
    }
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

} // namespace trelvik::formats

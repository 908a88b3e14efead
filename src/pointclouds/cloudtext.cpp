#include "pointclouds/cloudtext.h"

#include "formats/fastnumber.h"
#include "surfer/griddataparallel.h"

#include <algorithm>
#include <vector>

namespace trelvik::ptcloud {

std::string formatRows(std::size_t rows, int cols, const std::function<void(std::size_t, double*)>& values,
                       char separator, const std::string& after) {
    constexpr std::size_t kBlock = 16384;
    const std::size_t blocks = (rows + kBlock - 1) / kBlock;
    std::vector<std::string> parts(blocks);
    surfer::detail::forEachRowBlock(
        static_cast<int>(blocks),
        [&](int first, int end) {
            std::vector<double> v(static_cast<std::size_t>(cols));
            for (int b = first; b < end; ++b) {
                std::string& s = parts[static_cast<std::size_t>(b)];
                const std::size_t r0 = static_cast<std::size_t>(b) * kBlock, r1 = std::min(rows, r0 + kBlock);
                s.resize((r1 - r0) * (static_cast<std::size_t>(cols) * (formats::kGeneralNumberMax + 1) +
                                      after.size() + 2));
                char* out = s.data();
                for (std::size_t r = r0; r < r1; ++r) {
                    values(r, v.data());
                    for (int c = 0; c < cols; ++c) {
                        if (c) *out++ = separator;
                        out = formats::writeGeneralNumber(out, v[static_cast<std::size_t>(c)]);
                    }
                    for (char ch : after) *out++ = ch;
                    *out++ = '\r';
                    *out++ = '\n';
                }
                s.resize(static_cast<std::size_t>(out - s.data()));
            }
        },
        1);
    std::size_t total = 0;
    for (const auto& p : parts) total += p.size();
    std::string all;
    all.reserve(total);
    for (auto& p : parts) {
        all += p;
        std::string().swap(p);
    }
    return all;
}

} // namespace trelvik::ptcloud

#include "surfer/blnsections.h"

#include "core/error.h"
#include "core/fileroutines.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace surfer {

namespace {
// Up to `want` numbers from the start of a line; returns how many were read.
int leadingNumbers(std::string_view line, double* out, int want) {
    int n = 0;
    std::size_t i = 0;
    while (n < want) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == ',' || line[i] == '\r')) ++i;
        if (i >= line.size()) break;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != ',' && line[j] != '\r') ++j;
        std::string_view tok = line.substr(i, j - i);
        if (!tok.empty() && tok.front() == '+') tok.remove_prefix(1);
        double v = 0;
        auto res = std::from_chars(tok.data(), tok.data() + tok.size(), v);
        if (res.ec != std::errc() || res.ptr != tok.data() + tok.size()) break;
        out[n++] = v;
        i = j;
    }
    return n;
}

bool emptyLine(std::string_view line) {
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\r') return false;
    return true;
}
} // namespace

std::vector<BlnSection> readBlnSections(const std::string& path) {
    const std::string data = trelvik::readWholeFile(path);
    std::vector<BlnSection> sections;
    std::size_t pos = 0;
    long lineNo = 0;
    BlnSection* open = nullptr;
    long remaining = 0;
    auto bad = [&](const std::string& why) {
        throw trelvik::Error("Blanking file " + path + ", line " + std::to_string(lineNo) + ": " + why);
    };
    while (pos < data.size()) {
        std::size_t end = data.find('\n', pos);
        if (end == std::string::npos) end = data.size();
        std::string_view line(data.data() + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (emptyLine(line)) continue;
        double v[2];
        const int n = leadingNumbers(line, v, 2);
        if (remaining == 0) {
            if (n < 2) bad("a section header needs a vertex count and a flag");
            if (v[0] < 1 || v[0] != std::floor(v[0]) || v[0] > 1e8) bad("the vertex count must be a whole number of 1 or more");
            sections.push_back({});
            open = &sections.back();
            open->flag = static_cast<int>(v[1]);
            remaining = static_cast<long>(v[0]);
            open->x.reserve(static_cast<std::size_t>(remaining));
            open->y.reserve(static_cast<std::size_t>(remaining));
        } else {
            if (n < 2) bad("a vertex line needs two numbers, x and y");
            open->x.push_back(v[0]);
            open->y.push_back(v[1]);
            --remaining;
        }
    }
    if (remaining > 0) {
        lineNo = 0;
        throw trelvik::Error("Blanking file " + path + " ends before the last vertex of its section");
    }
    if (sections.empty()) throw trelvik::Error("Blanking file " + path + " holds no section");
    return sections;
}

} // namespace surfer

#include "formats/multitoothfile.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/quoted.h"

#include <charconv>
#include <cstring>

namespace trelvik::formats {

namespace {

bool isSeparator(char c) { return c == ',' || c == ' ' || c == '\t'; }

} // namespace

MultiToothFile::MultiToothFile(std::string path) : path_(std::move(path)) {
    content_ = readWholeFile(path_);
    const std::size_t n = content_.size();
    lineStart_.reserve(n / 16 + 4);
    lineEnd_.reserve(n / 16 + 4);
    const char* data = content_.data();
    std::size_t pos = 0;
    while (pos < n) {
        const void* nl = std::memchr(data + pos, '\n', n - pos);
        const std::size_t end = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - data) : n;
        std::size_t e = end;
        if (e > pos && data[e - 1] == '\r') --e;
        lineStart_.push_back(pos);
        lineEnd_.push_back(e);
        pos = end + 1;
    }
    // Empty lines at the very end are no lines of a tooth.
    while (!lineStart_.empty() && line(lineCount()).find_first_not_of(" \t\r") == std::string_view::npos) {
        lineStart_.pop_back();
        lineEnd_.pop_back();
    }
    if (lineStart_.empty()) throw Error(path_ + ": the multi-tooth file is empty");

    for (long i = 1; i <= lineCount(); ++i)
        if (line(i).find("666") != std::string_view::npos) markers_.push_back(i);
    if (markers_.empty() || markers_.back() != lineCount()) markers_.push_back(lineCount() + 1);

    long previous = 0;
    for (std::size_t t = 0; t < markers_.size(); ++t) {
        if (markers_[t] - previous - 3 < 0) {
            const bool end = markers_[t] > lineCount();
            throw Error(path_ + ": " + (end ? "the end of the file" : "the marker at line " + std::to_string(markers_[t])) +
                        " leaves tooth " + std::to_string(t + 1) + " (from line " + std::to_string(previous + 1) +
                        ") without room for its two header lines");
        }
        previous = markers_[t];
    }
}

std::string_view MultiToothFile::line(long number) const {
    const std::size_t i = static_cast<std::size_t>(number - 1);
    return std::string_view(content_).substr(lineStart_[i], lineEnd_[i] - lineStart_[i]);
}

void MultiToothFile::parseNumbers(long lineNo, std::size_t expected, double* out, const char* what) const {
    const std::string_view s = line(lineNo);
    const char* p = s.data();
    const char* end = p + s.size();
    std::size_t count = 0;
    bool ok = true;
    while (true) {
        while (p < end && (isSeparator(*p) || *p == '\r')) ++p;
        if (p == end) break;
        if (count == expected) {
            ok = false;
            break;
        }
        if (*p == '+') ++p;
        double v = 0;
        const auto r = std::from_chars(p, end, v);
        if (r.ec != std::errc() || (r.ptr < end && !isSeparator(*r.ptr) && *r.ptr != '\r')) {
            ok = false;
            break;
        }
        out[count++] = v;
        p = r.ptr;
    }
    if (!ok || count != expected)
        throw Error(path_ + ", line " + std::to_string(lineNo) + ": expected " + what + " (" +
                    std::to_string(expected) + " numbers), found \"" + quotedPart(s, kQuotedLineBytes) + "\"");
}

void MultiToothFile::readTooth(long t, ToothRecord& rec) const {
    if (t < 1 || t > toothCount()) throw Error(path_ + ": there is no tooth " + std::to_string(t));
    const long first = t == 1 ? 1 : marker(t - 1) + 1;
    rec.firstLine = first;
    rec.pointLines = marker(t) - first - 2;
    double h1[2];
    parseNumbers(first, 2, h1, "the first header line of a tooth");
    parseNumbers(first + 1, 10, rec.params.data(), "the second header line of a tooth");
    rec.params[10] = h1[1];
    rec.points.clear();
    rec.passedOver = rec.pointLines <= 3;
    if (rec.passedOver) return;
    rec.points.resize(static_cast<std::size_t>(rec.pointLines));
    double xyz[3];
    for (long i = 0; i < rec.pointLines; ++i) {
        parseNumbers(first + 2 + i, 3, xyz, "a point x,y,z");
        rec.points[static_cast<std::size_t>(i)] = PointXYZ{xyz[0], xyz[1], xyz[2]};
    }
}

ToothRecord MultiToothFile::tooth(long t) const {
    ToothRecord rec;
    readTooth(t, rec);
    return rec;
}

std::vector<std::string> MultiToothFile::split(long maxTeeth, const std::string& stem) const {
    if (maxTeeth < 1) throw Error(path_ + ": a part must hold at least one tooth");
    std::vector<std::string> parts;
    for (long firstTooth = 1; firstTooth <= toothCount(); firstTooth += maxTeeth) {
        const long lastTooth = std::min(toothCount(), firstTooth + maxTeeth - 1);
        const long from = firstTooth == 1 ? 1 : marker(firstTooth - 1) + 1;
        // A full part leaves out the marker of its last tooth; the last part runs to the end.
        const long to = lastTooth == toothCount() ? lineCount() : marker(lastTooth) - 1;
        std::string out;
        out.reserve(lineEnd_[static_cast<std::size_t>(to - 1)] - lineStart_[static_cast<std::size_t>(from - 1)] +
                    static_cast<std::size_t>(to - from + 1) * 2);
        for (long i = from; i <= to; ++i) {
            out.append(line(i));
            out.append("\r\n");
        }
        const std::string name = stem + "-" + std::to_string(parts.size() + 1) + ".csv";
        writeFileAtomic(name, out);
        parts.push_back(name);
    }
    return parts;
}

} // namespace trelvik::formats

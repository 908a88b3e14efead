#include "planes/toothlength.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/quoted.h"

#include <charconv>
#include <cmath>

namespace trelvik::planes {

std::string toothLengthPath(const std::string& folder, const std::string& gridBaseName) {
    return folder + gridBaseName + "_tl.txt";
}

double roundToothLength(double distance) { return text::Round(distance, 3); }

double storedToothLength(const std::string& path, double distance) {
    const double length = roundToothLength(distance);
    if (std::isfinite(distance) && distance > 0 && length == 0)
        throw Error("The tooth length " + text::CStr(distance) + " is too short to keep at three decimals (it " +
                    "rounds to 0); " + path + " was not written.");
    if (!std::isfinite(length) || length <= 0)
        throw Error("The tooth length " + text::CStr(distance) + " is not a positive length; " + path +
                    " was not written.");
    return length;
}

void writeToothLengthFile(const std::string& path, double distance) {
    writeFileAtomic(path, text::CStr(storedToothLength(path, distance)) + "\r\n");
}

ToothLength readToothLengthFile(const std::string& path) {
    const std::string content = readWholeFile(path);
    // The first line that holds anything.
    std::string_view rest = content, line;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (!line.empty()) break;
    }
    ToothLength tl;
    tl.text = std::string(line);
    const char* b = line.data();
    const char* e = b + line.size();
    if (b != e && *b == '+') ++b;
    const auto res = std::from_chars(b, e, tl.value);
    if (line.empty() || res.ec != std::errc() || res.ptr != e)
        throw Error("The tooth-length file " + path + " does not hold a number" +
                    (line.empty() ? std::string(".")
                                  : ": \"" + formats::quotedPart(line, formats::kQuotedLineBytes) + "\"."));
    if (!std::isfinite(tl.value) || tl.value <= 0)
        throw Error("The tooth-length file " + path + " holds " + tl.text + ", which is not a positive length.");
    return tl;
}

} // namespace trelvik::planes

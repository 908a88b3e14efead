// Polygon surfaces of VRML files: the reader that splits a file around its point and
// face lists, and the writer of the colour-mapped variant.
#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/fastnumber.h"
#include "formats/quoted.h"
#include "formats/vrml.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace trelvik::formats {

namespace {

std::string_view trimmed(std::string_view s) {
    const auto a = s.find_first_not_of(" \t");
    if (a == std::string_view::npos) return {};
    const auto b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool beginsWith(std::string_view line, std::string_view word) { return trimmed(line).substr(0, word.size()) == word; }

// True when `word` stands in the line as a whole word followed by "[" (blanks between).
bool opensList(std::string_view line, std::string_view word) {
    const std::string_view code = line.substr(0, line.find('#'));
    for (std::size_t at = code.find(word); at != std::string_view::npos; at = code.find(word, at + 1)) {
        const bool wordStart = at == 0 || !(std::isalnum(static_cast<unsigned char>(code[at - 1])) || code[at - 1] == '_');
        std::size_t k = at + word.size();
        while (k < code.size() && (code[k] == ' ' || code[k] == '\t')) ++k;
        if (wordStart && k < code.size() && code[k] == '[') return true;
    }
    return false;
}

// Walks the text line by line; lists are read token by token across lines.
class Cursor {
public:
    Cursor(std::string_view text, const std::string& path) : text_(text), path_(path) {}

    bool nextLine(std::string_view& line) {
        if (hasPushed_) {
            hasPushed_ = false;
            line = pushed_;
            return true;
        }
        if (pos_ >= text_.size()) return false;
        const auto nl = text_.find('\n', pos_);
        const std::size_t end = nl == std::string_view::npos ? text_.size() : nl;
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end + 1;
        ++lineNo_;
        return true;
    }

    // Lines up to and including the first that begins with `word`, or that opens the
    // list further on ("coord Coordinate { point ["); the text after its "[" (if any)
    // becomes the pending list text.
    void linesUntil(std::string_view word, std::vector<std::string>& into, const char* what) {
        std::string_view line;
        while (nextLine(line)) {
            if (beginsWith(line, word) || opensList(line, word)) {
                const auto br = line.find('[', line.find(word));
                into.emplace_back(br == std::string_view::npos ? line : line.substr(0, br + 1));
                pending_ = br == std::string_view::npos ? std::string_view{} : line.substr(br + 1);
                return;
            }
            into.emplace_back(line);
        }
        throw trelvik::Error("VRML file " + path_ + " has no " + what + " list (no line beginning \"" +
                             std::string(word) + "\").");
    }

    // The next item of a list: a number's text, "]" at the end; false at the end of the
    // file. A "[" before the first item is passed over.
    bool token(std::string_view& tok) {
        for (;;) {
            std::size_t i = 0;
            while (i < pending_.size() && (pending_[i] == ' ' || pending_[i] == '\t' || pending_[i] == ',' ||
                                           pending_[i] == '\r' || pending_[i] == '['))
                ++i;
            pending_.remove_prefix(i);
            if (!pending_.empty() && pending_[0] == '#') pending_ = {};
            if (!pending_.empty()) {
                if (pending_[0] == ']') {
                    tok = pending_.substr(0, 1);
                    pending_.remove_prefix(1);
                    return true;
                }
                std::size_t j = 0;
                while (j < pending_.size() && std::strchr(" \t,\r]#[", pending_[j]) == nullptr) ++j;
                tok = pending_.substr(0, j);
                pending_.remove_prefix(j);
                return true;
            }
            std::string_view line;
            if (!nextLine(line)) return false;
            pending_ = line;
        }
    }

    double number(std::string_view tok, const char* what) const {
        double v = 0;
        const char* b = tok.data();
        if (!tok.empty() && *b == '+') ++b;
        const auto r = std::from_chars(b, tok.data() + tok.size(), v);
        // "nan" and "inf" parse, but no vertex can stand there.
        if (r.ec != std::errc() || r.ptr != tok.data() + tok.size() || !std::isfinite(v))
            throw trelvik::Error("VRML file " + path_ + ", line " + std::to_string(lineNo_) + ": \"" +
                                 quotedPart(tok) + "\" in the " + what + " list is not a number.");
        return v;
    }

    void unterminated(const char* what) const {
        throw trelvik::Error("VRML file " + path_ + ": the " + std::string(what) + " list has no closing \"]\".");
    }

    // Text left on the line of a list's closing "]" is read next as a line of its own.
    void restAsLine() {
        if (!trimmed(pending_).empty()) {
            pushed_ = pending_;
            hasPushed_ = true;
        }
        pending_ = {};
    }

private:
    std::string_view text_;
    const std::string& path_;
    std::size_t pos_ = 0;
    std::size_t lineNo_ = 0;
    std::string_view pending_;
    std::string_view pushed_;
    bool hasPushed_ = false;
};

void appendLine(std::string& s, std::string_view line) {
    s.append(line);
    s.append(kCRLF);
}

void appendNumbers(std::string& s, std::initializer_list<double> v, char sep, std::string_view after) {
    char buf[kGeneralNumberMax];
    bool first = true;
    for (double d : v) {
        if (!first) s += sep;
        first = false;
        s.append(buf, writeGeneralNumber(buf, d));
    }
    s.append(after);
    s.append(kCRLF);
}

} // namespace

VrmlPolygonFile parseVrmlPolygonFile(std::string_view text, const std::string& path) {
    VrmlPolygonFile f;
    Cursor c(text, path);
    c.linesUntil("point", f.head, "point");
    std::string_view tok;
    for (;;) {
        if (!c.token(tok)) c.unterminated("point");
        if (tok == "]") break;
        trelvik::PointXYZ p;
        p.x = c.number(tok, "point");
        if (!c.token(tok) || tok == "]") c.unterminated("point");
        p.y = c.number(tok, "point");
        if (!c.token(tok) || tok == "]") c.unterminated("point");
        p.z = c.number(tok, "point");
        f.vertices.push_back(p);
    }
    c.restAsLine();
    c.linesUntil("coordIndex", f.middle, "coordIndex");
    const long long v = static_cast<long long>(f.vertices.size());
    for (;;) {
        if (!c.token(tok)) c.unterminated("coordIndex");
        if (tok == "]") break;
        const double d = c.number(tok, "coordIndex");
        // Range first: converting a value beyond a long long would be undefined.
        const bool inRange = d >= -1 && d < static_cast<double>(v);
        const long long k = inRange ? static_cast<long long>(d) : -2;
        if (!inRange || static_cast<double>(k) != d)
            throw trelvik::Error("VRML file " + path + ": the corner " + quotedPart(tok) +
                                 " is not a point of its list of " + std::to_string(v) + ".");
        if (k == -1) {
            if (f.corners.size() > (f.faceEnd.empty() ? 0 : f.faceEnd.back())) f.faceEnd.push_back(f.corners.size());
        } else {
            f.corners.push_back(k);
        }
    }
    if (f.corners.size() > (f.faceEnd.empty() ? 0 : f.faceEnd.back())) f.faceEnd.push_back(f.corners.size());
    c.restAsLine();
    std::string_view line;
    while (c.nextLine(line)) f.tail.emplace_back(line);
    return f;
}

VrmlPolygonFile readVrmlPolygonFile(const std::string& path) {
    const std::string text = trelvik::readWholeFile(path);
    return parseVrmlPolygonFile(text, path);
}

void writeVrmlColourMapped(const std::string& path, const VrmlColourMappedOut& f) {
    static const VrmlPolygonFile none;
    const VrmlPolygonFile& src = f.source ? *f.source : none;
    auto keep = [&](const std::string& line) { return !(f.withColours && beginsWith(line, "color")); };
    std::string s;
    s.reserve(f.points.size() * 40 + f.triangles.size() * (f.withColours ? 40 : 24) + 4096);
    for (const auto& l : src.head)
        if (keep(l)) appendLine(s, l);
    for (const auto& p : f.points) appendNumbers(s, {p.x, p.y, p.z}, ' ', ",");
    appendLine(s, "          ]");
    for (const auto& l : src.middle)
        if (keep(l)) appendLine(s, l);
    for (const auto& t : f.triangles)
        appendNumbers(s, {double(t[0]), double(t[1]), double(t[2]), -1.0}, ',', "");
    appendLine(s, "        ]");
    if (f.withColours) {
        appendLine(s, "        color Color { color [ ");
        for (const auto& c : f.colours) appendNumbers(s, {c[0], c[1], c[2]}, ' ', ",");
        appendLine(s, "          ]");
        appendLine(s, "        }");
        appendLine(s, "        colorPerVertex TRUE");
        appendLine(s, "        colorIndex [ ");
        for (const auto& c : f.colourIndex)
            appendNumbers(s, {double(c[0]), double(c[1]), double(c[2]), -1.0}, ',', "");
        appendLine(s, "        ]");
    }
    for (const auto& l : src.tail) appendLine(s, beginsWith(l, "solid") ? std::string_view("        solid FALSE") : l);
    trelvik::writeFileAtomic(path, s);
}

} // namespace trelvik::formats

// Reader of IndexedFaceSet geometry (declared in vrml.h).
#include "formats/vrml.h"

#include "core/error.h"
#include "core/fileroutines.h"

#include <charconv>
#include <cstring>

namespace trelvik::formats {

namespace {

bool isBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }

class Cursor {
public:
    Cursor(std::string_view t, const std::string& path) : p_(t.data()), e_(t.data() + t.size()), path_(path) {}

    void skip() {
        for (;;) {
            while (p_ < e_ && isBlankChar(*p_)) ++p_;
            if (p_ < e_ && *p_ == '#') {
                while (p_ < e_ && *p_ != '\n') ++p_;
                continue;
            }
            return;
        }
    }
    // Moves past the next whole word `w` (not part of a longer name); false at the end.
    bool seek(std::string_view w) {
        for (;;) {
            skip();
            if (p_ >= e_) return false;
            const char* s = p_;
            while (p_ < e_ && !isBlankChar(*p_) && *p_ != '#' && *p_ != '[' && *p_ != ']' && *p_ != '{' &&
                   *p_ != '}')
                ++p_;
            if (p_ == s) ++p_;
            if (std::string_view(s, static_cast<std::size_t>(p_ - s)) == w) return true;
        }
    }
    template <class T, class Fn>
    void list(const char* what, Fn&& take) {
        skip();
        if (p_ >= e_ || *p_ != '[') throw Error("VRML file " + path_ + ": " + what + " expects a list in [ ]");
        ++p_;
        for (;;) {
            skip();
            if (p_ >= e_) throw Error("VRML file " + path_ + ": the " + what + " list is not closed");
            if (*p_ == ']') {
                ++p_;
                return;
            }
            T v{};
            const char* b = *p_ == '+' ? p_ + 1 : p_;
            const auto r = std::from_chars(b, e_, v);
            if (r.ec != std::errc() || (r.ptr < e_ && !isBlankChar(*r.ptr) && *r.ptr != ']' && *r.ptr != '#'))
                throw Error("VRML file " + path_ + ": the " + what + " list holds something that is not a number");
            take(v);
            p_ = r.ptr;
        }
    }

private:
    const char* p_;
    const char* e_;
    const std::string& path_;
};

} // namespace

VrmlFaceSet parseVrmlFaceSet(std::string_view text, const std::string& path) {
    VrmlFaceSet fs;
    Cursor cur(text, path);
    if (!cur.seek("IndexedFaceSet")) throw Error("VRML file " + path + " holds no IndexedFaceSet");
    Cursor points = cur, faces = cur;
    if (!points.seek("point")) throw Error("VRML file " + path + ": the IndexedFaceSet has no point list");
    points.list<double>("point", [&](double v) { fs.points.push_back(v); });
    if (fs.points.size() % 3 != 0)
        throw Error("VRML file " + path + ": the point list does not hold whole x, y, z triples");
    if (!faces.seek("coordIndex")) throw Error("VRML file " + path + ": the IndexedFaceSet has no coordIndex");
    std::vector<long long> face;
    const long long n = static_cast<long long>(fs.pointCount());
    faces.list<long long>("coordIndex", [&](long long v) {
        if (v == -1) {
            if (!face.empty()) fs.faces.push_back(std::move(face));
            face.clear();
            return;
        }
        if (v < 0 || v >= n)
            throw Error("VRML file " + path + ": coordIndex " + std::to_string(v) + " is outside the " +
                        std::to_string(n) + " points");
        face.push_back(v);
    });
    if (!face.empty()) fs.faces.push_back(std::move(face));
    return fs;
}

VrmlFaceSet readVrmlFaceSet(const std::string& path) { return parseVrmlFaceSet(readWholeFile(path), path); }

} // namespace trelvik::formats

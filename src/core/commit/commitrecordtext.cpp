// The text of a commit record (core/commit/workingfiles.h), written by the commit and read back
// by the settle: a header, "F" and each folder of the commit, "E" and each file's target,
// new file, kept copy, the new file's id, the old file's id, size and time of
// modification, then the old file's time of change, the new file's size and times, the
// kept copy's id, then "end". Each field is "<length>:<bytes>"; records of earlier runs
// end an "E" line after the ids or after the old file's time, and give absolute paths.
#include "core/commit/workingfiles_detail.h"

#include <algorithm>
#include <charconv>

namespace trelvik::working::detail {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "trelvik commit record\n", kEnd = "end\n";

void field(std::string& out, std::string_view s) {
    out += std::to_string(s.size());
    out += ':';
    out += s;
}

bool readField(std::string_view& in, std::string& s) {
    const std::size_t colon = in.find(':');
    std::size_t n = 0;
    if (colon == std::string_view::npos || colon > 20 || !digits(in.substr(0, colon)) ||
        std::from_chars(in.data(), in.data() + colon, n).ec != std::errc() || in.size() - colon - 1 < n)
        return false;
    s = in.substr(colon + 1, n);
    in.remove_prefix(colon + 1 + n);
    return true;
}

template <typename Number> bool readNumber(std::string_view& in, Number& v) {
    std::string text;
    return readField(in, text) && std::from_chars(text.data(), text.data() + text.size(), v).ec == std::errc();
}

std::string relativeTo(const fs::path& base, const std::string& p) {
    return p.empty() ? p : fs::path(p).lexically_relative(base).string();
}

bool control(std::string_view s) { return std::any_of(s.begin(), s.end(), controlChar); }

bool plainName(std::string_view s) {
    return !s.empty() && s != "." && s != ".." && s.find('/') == std::string_view::npos && !control(s);
}

// A folder as records give it: "." (the record's own), a relative path of plain names and
// "..", or (records of earlier runs) an absolute path of plain names.
bool folderName(std::string_view f) {
    if (f == ".") return true;
    if (f.empty() || control(f)) return false;
    const bool absolute = f.front() == '/';
    if (absolute) f.remove_prefix(1);
    if (f.empty()) return absolute;
    for (;;) {
        const std::size_t slash = f.find('/');
        const std::string_view step = f.substr(0, slash);
        if (!(plainName(step) || (!absolute && step == ".."))) return false;
        if (slash == std::string_view::npos) return true;
        f.remove_prefix(slash + 1);
    }
}

// The folder (by its index in folders) and plain name of a file the record gives as p.
bool place(const std::vector<std::string>& folders, const std::string& p, std::size_t& folder, std::string& name) {
    const std::size_t slash = p.rfind('/');
    const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : p.substr(0, slash);
    name = slash == std::string::npos ? p : p.substr(slash + 1);
    const auto at = std::find(folders.begin(), folders.end(), parent);
    if (at == folders.end() || !plainName(name)) return false;
    folder = static_cast<std::size_t>(at - folders.begin());
    return true;
}

} // namespace

std::string shownName(std::string_view s) {
    std::string out;
    for (char c : s) out += controlChar(c) ? '?' : c;
    return out;
}

std::string recordText(const Record& r, const fs::path& base) {
    std::string out(kHeader);
    for (const std::string& f : r.folders) {
        out += 'F';
        field(out, relativeTo(base, f));
        out += '\n';
    }
    for (const Staged& s : r.files) {
        out += 'E';
        for (const std::string& f : {relativeTo(base, s.target), relativeTo(base, s.fresh), relativeTo(base, s.kept),
                                     std::to_string(s.dev), std::to_string(s.ino), std::to_string(s.oldDev),
                                     std::to_string(s.oldIno), std::to_string(s.oldSize), std::to_string(s.oldTime),
                                     std::to_string(s.oldChange), std::to_string(s.size), std::to_string(s.time),
                                     std::to_string(s.change), std::to_string(s.keptDev), std::to_string(s.keptIno)})
            field(out, f);
        out += '\n';
    }
    return out + std::string(kEnd);
}

bool parseRecord(std::string_view in, ReadRecord& r, std::string& why) {
    r = {};
    why.clear();
    const auto refuse = [&why](const std::string& name, const char* what) {
        if (why.empty()) why = "it names \"" + shownName(name) + "\", " + what;
    };
    if (!in.starts_with(kHeader) || !in.ends_with(kEnd)) return false;
    in = in.substr(kHeader.size(), in.size() - kHeader.size() - kEnd.size());
    while (!in.empty()) {
        const char tag = in.front();
        in.remove_prefix(1);
        if (tag == 'F') {
            std::string folder;
            if (!readField(in, folder)) return false;
            if (!folderName(folder)) refuse(folder, "which is not a folder name a step gives");
            r.folders.push_back(std::move(folder));
        } else if (tag == 'E') {
            std::string target, fresh, kept;
            Staged& s = r.entries.emplace_back().ids;
            if (!readField(in, target) || !readField(in, fresh) || !readField(in, kept)) return false;
            for (std::uint64_t* id : {&s.dev, &s.ino, &s.oldDev, &s.oldIno})
                if (!readNumber(in, *id)) return false;
            if (!in.empty() && in.front() != '\n' && !(readNumber(in, s.oldSize) && readNumber(in, s.oldTime)))
                return false;
            if (!in.empty() && in.front() != '\n' &&
                !(readNumber(in, s.oldChange) && readNumber(in, s.size) && readNumber(in, s.time) &&
                  readNumber(in, s.change) && readNumber(in, s.keptDev) && readNumber(in, s.keptIno)))
                return false;
            if (s.keptIno == 0) {  // a record of an earlier run: its kept copies are links of the old files
                s.keptDev = s.oldDev;
                s.keptIno = s.oldIno;
            }
            ReadEntry& e = r.entries.back();
            std::size_t freshIn = 0, keptIn = 0;
            if (!place(r.folders, target, e.folder, e.target))
                refuse(target, "which is not a plain file name in a folder the record gives");
            else if (!place(r.folders, fresh, freshIn, e.fresh) || freshIn != e.folder)
                refuse(fresh, "which is not a plain file name beside its target");
            else if (!kept.empty() && (!place(r.folders, kept, keptIn, e.kept) || keptIn != e.folder))
                refuse(kept, "which is not a plain file name beside its target");
        } else {
            return false;
        }
        if (in.empty() || in.front() != '\n') return false;
        in.remove_prefix(1);
    }
    return true;
}

} // namespace trelvik::working::detail

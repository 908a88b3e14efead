// Commit records: what a step finds in a data folder under a record's name, read as the
// settle reads it (whole names checked, no larger than any record a step writes). Every
// name a record read whole gives must hold to the one rule, checked here on its own: no
// NUL or other control character; each folder ".", or its steps plain names (".." too in a
// relative one); each target, new file and kept copy a plain name in one of its folders.
#include "core/commit/workingfiles_detail.h"
#include "fuzzinput.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace {

bool control(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

bool plainName(std::string_view s) {
    return !s.empty() && s != "." && s != ".." && s.find('/') == std::string_view::npos && !control(s);
}

bool folderName(std::string_view f) {
    if (f == "." || f == "/") return true;
    if (f.empty() || control(f)) return false;
    const bool absolute = f.front() == '/';
    if (absolute) f.remove_prefix(1);
    for (;;) {
        const std::string_view step = f.substr(0, f.find('/'));
        if (!plainName(step) && (absolute || step != "..")) return false;
        if (step.size() == f.size()) return true;
        f.remove_prefix(step.size() + 1);
    }
}

} // namespace

TRELVIK_FUZZ_TARGET({
    namespace detail = trelvik::working::detail;
    const std::string& p = trelvik::fuzz::asFile(data, size, ".commit.trelvik-host-1-0-0000000000000000.commit");
    const trelvik::HeldFolder folder = trelvik::HeldFolder::open(std::filesystem::path(p).parent_path());
    detail::ReadRecord r;
    std::string why;
    struct stat st{};
    if (detail::readRecordIn(folder, std::filesystem::path(p).filename().string(), r, why, st) != detail::Found::Read ||
        !why.empty())
        return;
    for (const std::string& f : r.folders)
        if (!folderName(f)) __builtin_trap();
    for (const detail::ReadEntry& e : r.entries)
        if (e.folder >= r.folders.size() || !plainName(e.target) || !plainName(e.fresh) ||
            (!e.kept.empty() && !plainName(e.kept)))
            __builtin_trap();
})

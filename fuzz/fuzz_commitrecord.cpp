// Commit records: what a step finds in a data folder under a record's name, read as the
// settle reads it (whole names checked, no larger than any record a step writes).
#include "core/workingfiles_detail.h"
#include "fuzzinput.h"

#include <filesystem>

TRELVIK_FUZZ_TARGET({
    namespace detail = trelvik::working::detail;
    const std::string& p = trelvik::fuzz::asFile(data, size, ".commit.trelvik-host-1-0-0000000000000000.commit");
    const detail::HeldFolder folder = detail::HeldFolder::open(std::filesystem::path(p).parent_path());
    detail::ReadRecord r;
    std::string why;
    struct stat st{};
    if (detail::readRecordIn(folder, std::filesystem::path(p).filename().string(), r, why, st) == detail::Found::Read &&
        why.empty())
        for (const detail::ReadEntry& e : r.entries)
            if (e.folder >= r.folders.size() || e.target.empty() || e.target.find('/') != std::string::npos) __builtin_trap();
})

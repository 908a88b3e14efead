#pragma once
// Shared plumbing of the fuzz targets: most readers take a path, so each input is
// written to one private file first. A trelvik::Error is the expected answer to a
// damaged file; anything else (a crash, a sanitizer report, another exception, a hang,
// a huge allocation) is a finding.
#include "core/error.h"
#include "core/tempfiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace trelvik::fuzz {

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input as a file named `name` in a folder private to this process.
inline const std::string& asFile(const std::uint8_t* data, std::size_t size, const std::string& name) {
    static PrivateFolder folder("fuzz");
    static std::string path;
    path = folder.file(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    // The user's alone, as a file in a private folder is meant to be (a commit record is
    // read only then).
    ::chmod(path.c_str(), 0600);
    return path;
}

// Runs a reader; a clear error is a good answer.
template <class Fn>
int expectReadOrError(Fn&& fn) {
    try {
        fn();
    } catch (const trelvik::Error&) {
    }
    return 0;
}

} // namespace trelvik::fuzz

// TRELVIK_FUZZ_TARGET({ statements using data and size })
#define TRELVIK_FUZZ_TARGET(...)                                                         \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
        return trelvik::fuzz::expectReadOrError([&] __VA_ARGS__);                        \
    }

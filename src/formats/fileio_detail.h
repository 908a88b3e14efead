#pragma once
// Whole-file reads and replacing writes for the format readers and writers.
// A replacing write goes to a temporary file in the target's folder and is renamed
// over the target only once complete, so a failure never leaves a half-written file
// in place of a good one. Every failure throws trelvik::Error naming the file;
// `what` names the kind of file in the message ("grid file", "blanking file").
#include <cstdio>
#include <string>
#include <string_view>

namespace trelvik::formats::detail {

std::string readWholeFileOrThrow(const std::string& path, const char* what);
// The first n bytes (fewer when the file is shorter).
std::string readFilePrefix(const std::string& path, std::size_t n, const char* what);
void replaceFile(const std::string& path, std::string_view bytes, const char* what);

// Streams a large file through a buffer into a temporary file; commit() puts it in
// place. Destroyed without commit() (an exception on the way), the temporary goes.
class ReplacingWriter {
public:
    ReplacingWriter(const std::string& path, const char* what);
    ~ReplacingWriter();
    ReplacingWriter(const ReplacingWriter&) = delete;
    ReplacingWriter& operator=(const ReplacingWriter&) = delete;

    void write(std::string_view bytes);
    void commit();

private:
    std::string path_, temp_, what_;
    std::FILE* file_ = nullptr;
};

} // namespace trelvik::formats::detail

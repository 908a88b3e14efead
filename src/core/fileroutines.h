#pragma once
// File routines shared by every reader and writer.
//
//  DirExists(path)    true when path names an existing folder; false otherwise, also
//                     when it cannot be examined. Never throws.
//  FileExists(path)   true when path names an existing item that is not a folder.
//  ConvertLineEnds    copies InFile to OutFile with normalised line ends: CR LF, CR and
//                     bare LF all end a line; with toCRLF every line is written with CR LF,
//                     otherwise with LF (an unterminated last line gets one too). OutFile
//                     is replaced whole (temp file + rename). With deleteInput, InFile is
//                     removed after a good copy, unless it is OutFile itself. A failure
//                     shows one message through the prompt ("Error: <description>", new
//                     line, "Number: <n>"), leaves InFile and any old OutFile as they were,
//                     and returns false.
//  readWholeFile      the bytes of a file; throws trelvik::Error naming the file.
//  writeFileAtomic    replaces path with content through a temp file in the same folder,
//                     synced to disk before the rename; the replaced file's permissions
//                     are kept, and a symbolic link is written through to its target.
//  appendFileAtomic   appends text in one piece: on failure the file is cut back to its
//                     old length, so it holds either its old content or the whole text.
//  AtomicTextWriter   builds a text file in a temp file beside the target; commit()
//                     renames it over the target, an uncommitted writer removes it.
#include "core/prompt.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace trelvik {

bool DirExists(const std::string& path);
bool FileExists(const std::string& path);

bool ConvertLineEnds(const std::string& inFile, const std::string& outFile, long toCRLF, bool deleteInput,
                     Prompt& prompt);

std::string readWholeFile(const std::string& path);
void writeFileAtomic(const std::string& path, std::string_view content);
void appendFileAtomic(const std::string& path, std::string_view text);

// Line end written by the system's writers.
inline constexpr std::string_view kCRLF = "\r\n";

class AtomicTextWriter {
public:
    explicit AtomicTextWriter(std::string path);
    ~AtomicTextWriter();
    AtomicTextWriter(const AtomicTextWriter&) = delete;
    AtomicTextWriter& operator=(const AtomicTextWriter&) = delete;

    void write(std::string_view text);
    // text followed by CR LF
    void line(std::string_view text);
    // Flushes, closes and renames over the target; throws trelvik::Error on failure.
    void commit();
    const std::string& path() const { return path_; }

private:
    void fail(const std::string& what);
    std::string path_;
    std::string target_;  // path_, or what it links to
    std::string temp_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
    bool committed_ = false;
};

} // namespace trelvik

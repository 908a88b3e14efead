#pragma once
// Point text of millions of lines parsed in blocks on several threads, giving what one
// pass in file order gives: the same numbers in the same order, and the same refusal,
// the first in file order, with the same line number. The point readers (pointtext.h,
// xyzpointfile.h) share it, so that the cutting, the reading and the order of refusals
// live in one place and each reader keeps only its own rules for a block.
//
// Blocks: a block is blockBytes bytes, and then on to just after the next line feed, so
// every block but the last ends with a line feed: it holds whole lines whatever the line
// ends (a CR LF pair is never split, and whether a CR stands alone is seen within its
// block), and the blocks are the same whatever the thread count. A file is read a block
// at a time by the thread that parses it, so no copy of the whole file is made first.
//
// Parts: parse(text, part) reads one block into a part of the reader's own type
// (derived from BlockPart): what it read, the line ends it passed (`lines`), and its
// first refusal, if any, as the line within the block (from 0) and the words after
// "<path>: line <n>"; a block stops at its refusal. The line numbers of a block are not
// known until the blocks before it are parsed, so a refusal is worded only when the
// caller, settling the parts in file order, meets it (refusalAt). Blocks after the first
// refused one are not parsed (their parts stay empty): no settling reaches them.
#include "core/fileroutines.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::formats::blocks {

// About a megabyte a block: long enough that a block's overhead is nothing next to its
// parse, short enough that a large scan gives every thread many blocks to share.
inline constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

struct Refusal {
    std::size_t line = 0;  // within the block, from 0
    std::string rest;      // the message after "<path>: line <n>"
};

struct BlockPart {
    std::size_t lines = 0;  // line ends passed
    std::optional<Refusal> refusal;
};

// An open file read in ranges, by several threads at once, and where its lines end: the
// point readers' blocks and the STL reader's pieces.
class FileRanges {
public:
    FileRanges(int fd, std::size_t size, std::string path) : fd_(fd), size_(size), path_(std::move(path)) {}
    // Exactly len bytes at pos. A file cut short while it is read ends too soon:
    // trelvik::Error "Cannot read \"<path>\"".
    void read(std::size_t pos, char* out, std::size_t len) const;
    // The position just after the first line feed at or after pos, or the file's size.
    std::size_t afterLineFeed(std::size_t pos) const;
    std::size_t size() const { return size_; }

private:
    int fd_;
    std::size_t size_;
    std::string path_;
};

// The text of the blocks: one in memory, or an open file read a block at a time.
class TextBlocks {
public:
    explicit TextBlocks(std::string_view text, std::size_t blockBytes = kBlockBytes);
    // Throws trelvik::Error "Cannot read \"<path>\"" when the file cannot be read as far
    // as the size it had when opened.
    TextBlocks(const InputFile& file, const std::string& path, std::size_t blockBytes = kBlockBytes);

    std::size_t count() const { return cuts_.size() - 1; }

    // Calls parse(k, text of block k) for every block on several threads; parse returns
    // false when it refused the block, and blocks after a refused one then are not begun.
    // An exception other than a refusal stops the others and is rethrown.
    void forEach(const std::function<bool(std::size_t, std::string_view)>& parse) const;

private:
    std::string_view text_;
    std::optional<FileRanges> file_;
    std::vector<std::size_t> cuts_;  // block k is [cuts_[k], cuts_[k + 1])
};

// The parts of every block, parsed by parse(text, part) on several threads.
template <class Part, class Parse>
std::vector<Part> parseParts(const TextBlocks& blocks, Parse&& parse) {
    std::vector<Part> parts(blocks.count());
    blocks.forEach([&](std::size_t k, std::string_view text) {
        parse(text, parts[k]);
        return !parts[k].refusal;
    });
    return parts;
}

// The refusal of a part, worded with its true line: `line` is the number of the part's
// first line (the first line of the text plus the line ends of the parts before it).
inline std::string refusalAt(const std::string& path, std::size_t line, const Refusal& r) {
    return path + ": line " + std::to_string(line + r.line) + r.rest;
}

} // namespace trelvik::formats::blocks

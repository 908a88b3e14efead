#include "csvview/toothcount.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/random.h"
#include "core/textform.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace trelvik::csvview {

namespace {

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + "/" + name;
}

// Calls f(line) for every line of text (CR LF, LF or CR ends a line; a last line
// without an end counts; nothing after a final line end does). Stops when f is false.
template <class F>
void forEachLine(std::string_view text, F f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        if (!f(text.substr(pos, end - pos))) return;
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
}

bool marker(std::string_view line) { return line.find("666") != std::string_view::npos; }

std::string readInput(const std::string& path) {
    if (!FileExists(path)) throw Error("The file " + path + " does not exist");
    return readWholeFile(path);
}

// A name a tooth-count list gives is read in the list's folder, so it must be the plain
// name of a file there: no folder in it ('/', "." or ".."), and no NUL or other control
// character, which would cut it short or make it another name.
bool plainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '/' || u < 32 || u == 127;
    });
}

// Lines and teeth of a file's text; `shown` gets the running count every 100 teeth.
ToothTally tallyTeeth(std::string_view text, const std::function<void(long)>& shown) {
    ToothTally t;
    bool lastMarker = true;  // an empty file has no open tooth
    forEachLine(text, [&](std::string_view line) {
        ++t.lines;
        lastMarker = marker(line);
        if (lastMarker) {
            ++t.teeth;
            if (shown && t.teeth % 100 == 0) shown(t.teeth);
        }
        return true;
    });
    if (!lastMarker) ++t.teeth;
    return t;
}

} // namespace

bool isMarkerLine(const std::string& line) { return marker(line); }

ToothTally countTeeth(const std::string& path) { return tallyTeeth(readInput(path), {}); }

std::vector<std::string> ctFileNames(bool allFiles, const std::string& chosen, Prompt& prompt) {
    if (!allFiles) {
        if (chosen.empty() || chosen == "*.dat" || chosen == "*.csv") {
            prompt.message("Filename", "Choose csv filename");
            return {};
        }
        return {chosen};
    }
    std::vector<std::string> names;
    for (int e = 1; e <= 4; ++e)
        for (int s = 1; s <= 4; ++s) {
            if (e == 3 && s == 3) continue;
            if (e == 1 && s == 1)
                names.push_back("netregu113.dat");
            else
                names.push_back("netregu" + std::to_string(e) + std::to_string(s) + ".dat");
        }
    return names;
}

std::vector<CountedFile> CountToothFiles(const std::string& folder, const std::vector<std::string>& names,
                                         const std::function<void(long)>& shown) {
    std::vector<CountedFile> out;
    const std::string countPath = joinPath(folder, kToothCountFile);
    for (const auto& name : names) {
        const ToothTally t = tallyTeeth(readInput(joinPath(folder, name)), shown);
        if (shown) shown(t.teeth);
        text::WriteLine w;
        w.text(name).num(static_cast<double>(t.lines)).num(static_cast<double>(t.teeth));
        appendFileAtomic(countPath, w.str() + std::string(kCRLF));
        out.push_back({name, t});
    }
    return out;
}

std::vector<ToothCountRecord> readToothCountList(const std::string& path) {
    const std::string text = readInput(path);
    std::vector<ToothCountRecord> records;
    long lineNo = 0;
    forEachLine(text, [&](std::string_view line) {
        ++lineNo;
        if (text::Trim(line).empty()) return true;
        const auto items = text::tokenize(line);
        if (items.size() < 3)
            throw Error("Tooth-count list " + path + ", line " + std::to_string(lineNo) +
                        ": expected a name, a line count and a tooth count");
        if (records.size() >= static_cast<std::size_t>(kMaxToothCountRecords))
            throw Error("Tooth-count list " + path + " holds more than " + std::to_string(kMaxToothCountRecords) +
                        " files");
        if (!plainFileName(items[0]))
            throw Error("Tooth-count list " + path + ", line " + std::to_string(lineNo) +
                        ": the name is not that of a file in the list's folder (it holds '/', \"..\" or a control "
                        "character)");
        const double lines = text::Val(items[1]), teeth = text::Val(items[2]);
        if (teeth < 0 || teeth != std::floor(teeth))
            throw Error("Tooth-count list " + path + ", line " + std::to_string(lineNo) +
                        ": the tooth count is not a whole number of at least 0");
        records.push_back({items[0], static_cast<long>(lines), static_cast<long>(teeth)});
        return true;
    });
    return records;
}

std::vector<long> teethShares(long n, const std::vector<ToothCountRecord>& records) {
    long total = 0;
    for (const auto& r : records) total += r.teeth;
    std::vector<long> shares;
    for (const auto& r : records)
        shares.push_back(total > 0 ? static_cast<long>(text::Round(static_cast<double>(n) * r.teeth / total)) : 0);
    return shares;
}

std::vector<long> drawPicks(long share, long teeth, const std::function<double()>& random,
                            const std::function<void()>& advance) {
    if (share > teeth) throw Error("Cannot draw " + std::to_string(share) + " distinct teeth from " +
                                   std::to_string(teeth));
    std::vector<long> picks;
    picks.reserve(static_cast<std::size_t>(std::max(share, 0L)));
    for (long s = 0; s < share; ++s) {
        if (advance) advance();
        for (;;) {
            const long pick = std::min(teeth, 1 + static_cast<long>(std::floor(teeth * random())));
            if (std::find(picks.begin(), picks.end(), pick) == picks.end()) {
                picks.push_back(pick);
                break;
            }
        }
    }
    std::sort(picks.begin(), picks.end());
    return picks;
}

ExtractOutcome ExtractTeeth(const ExtractOptions& opts, Prompt& prompt) {
    ExtractOutcome out;
    const double nValue = text::Val(opts.countText);
    if (!(nValue >= 1) || nValue != std::floor(nValue) || nValue > 1e9) {
        prompt.message("Values", "Enter the number of teeth to extract as a whole number of at least 1");
        return out;
    }
    const long n = static_cast<long>(nValue);
    const auto records = readToothCountList(joinPath(opts.folder, kToothCountList));
    long total = 0;
    for (const auto& r : records) total += r.teeth;
    if (n > total) {
        prompt.message("Values", "Only " + std::to_string(total) + " teeth are listed in " + kToothCountList +
                                     "; cannot extract " + std::to_string(n));
        return out;
    }
    const auto shares = teethShares(n, records);
    for (std::size_t f = 0; f < records.size(); ++f)
        if (shares[f] > records[f].teeth) {
            prompt.message("Values", "The share of " + records[f].name + " (" + std::to_string(shares[f]) +
                                         ") is more than its " + std::to_string(records[f].teeth) + " teeth");
            return out;
        }
    // Every file to be read must be there before anything is drawn or written.
    for (std::size_t f = 0; f < records.size(); ++f)
        if (shares[f] > 0 && !FileExists(joinPath(opts.folder, records[f].name)))
            throw Error("The file " + joinPath(opts.folder, records[f].name) + " does not exist");

    const std::function<double()> random = opts.random ? opts.random : [] { return Rnd(); };
    const std::function<void()> advance = opts.advance ? opts.advance : [] { ReseedRandomFromClock(); };

    std::string extracted, positions;
    for (std::size_t f = 0; f < records.size(); ++f) {
        const long share = shares[f];
        if (share == 0) continue;
        const auto& rec = records[f];
        const auto picks = drawPicks(share, rec.teeth, random, advance);
        if (opts.fileStarted) opts.fileStarted(rec.name, share);
        out.lastFile = rec.name;
        const std::string text = readInput(joinPath(opts.folder, rec.name));

        long lineCounter = 0, tooth = 1;
        std::size_t pickIndex = 0;  // 0-based into picks; written 1-based
        if (opts.pickShown) opts.pickShown(1);
        auto position = [&](long firstLine) {
            text::WriteLine w;
            w.text(rec.name).num(static_cast<double>(pickIndex + 1)).num(static_cast<double>(firstLine)).num(
                static_cast<double>(tooth));
            positions += w.str();
            positions += kCRLF;
        };
        bool copying = picks.front() == 1;
        if (copying) position(1);
        long copied = 0, linesOfTooth = 0;
        forEachLine(text, [&](std::string_view line) {
            ++lineCounter;
            if (copying) {
                ++linesOfTooth;
                extracted.append(line);
                extracted += kCRLF;
            }
            if (!marker(line)) return true;
            ++tooth;
            if (copying) {
                ++copied;
                ++pickIndex;
                if (opts.pickShown) opts.pickShown(static_cast<long>(pickIndex + 1));
            }
            if (tooth > picks.back()) {
                copying = false;
                return false;
            }
            copying = pickIndex < picks.size() && tooth == picks[pickIndex];
            if (copying) {
                position(lineCounter + 1);
                linesOfTooth = 0;
            }
            return true;
        });
        if (copying && linesOfTooth > 0) ++copied;  // a last tooth left without a closing marker
        if (copied < share)
            throw Error("The file " + joinPath(opts.folder, rec.name) + " holds fewer teeth than " + kToothCountList +
                        " lists (" + std::to_string(rec.teeth) + "); nothing was extracted");
        out.teethCopied += copied;
    }
    const std::string nText = text::CStr(static_cast<double>(n));
    out.extractPath = joinPath(opts.folder, "netregu_e" + nText + ".csv");
    out.positionPath = joinPath(opts.folder, "netregu_e" + nText + "_pos.csv");
    // The teeth and the list of where they came from are read together: one commit.
    StagedFiles files;
    files.append(out.extractPath, extracted);
    files.append(out.positionPath, positions);
    files.commit();
    out.done = true;
    return out;
}

} // namespace trelvik::csvview

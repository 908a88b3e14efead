#pragma once
// Tooth counts of multi-tooth files and random samples of their teeth ("CTFiles" and
// "Extract" of the CSV viewer). Both work on the files' lines; no tooth is read into a
// grid. A marker line is any line containing "666"; it closes a tooth.
//
//  countTeeth          lines and teeth of one file: one tooth per marker line, plus one
//                      when the last line is not a marker (a last tooth left open).
//  ctFileNames         the files "CTFiles" counts: the chosen one, or with "All files"
//                      the fifteen files netregu<e><s>.dat for e, s = 1..4, with
//                      netregu113.dat for (1, 1) and (3, 3) left out.
//  CountToothFiles     counts each file (folder + name) and appends a line
//                      "name",lines,teeth per file to ToothCount.csv in the folder.
//  readToothCountList  the records of a tooth-count list (name, lines, teeth); at most
//                      100, a longer list or a malformed line is an error.
//  teethShares         share(f) = Round(N teeth(f) / total), halves to even.
//  drawPicks           `share` distinct tooth numbers drawn uniformly from 1..teeth,
//                      the generator advanced (advance()) before each pick, a repeated
//                      number drawn again without advancing; sorted ascending.
//  ExtractTeeth        reads netregu_e1000_ToothCount.csv, draws each file's picks and
//                      appends the picked teeth's lines unchanged (headers, points and
//                      closing marker) to netregu_e<N>.csv, and one line per tooth
//                      "source",pick,first line,tooth number to netregu_e<N>_pos.csv.
//                      Refused with a message: N not a positive whole number, N above
//                      the listed total, or a share above the teeth its file holds.
//
// Appending goes through a temporary copy renamed over the file, so a failed run
// leaves every existing file as it was; the extracted teeth and their position list go
// in place together. A missing input file is an error naming it.
#include "core/prompt.h"

#include <functional>
#include <string>
#include <vector>

namespace trelvik::csvview {

inline constexpr int kMaxToothCountRecords = 100;
inline const char* const kToothCountFile = "ToothCount.csv";
inline const char* const kToothCountList = "netregu_e1000_ToothCount.csv";

bool isMarkerLine(const std::string& line);

struct ToothTally {
    long lines = 0;
    long teeth = 0;
};
ToothTally countTeeth(const std::string& path);

// Empty and a "Choose csv filename" message when not allFiles and the chosen name is
// empty or a mask ("*.dat", "*.csv").
std::vector<std::string> ctFileNames(bool allFiles, const std::string& chosen, Prompt& prompt);

struct CountedFile {
    std::string name;
    ToothTally tally;
};
// `shown` (may be empty) receives the running tooth count every 100 teeth and at the
// end of each file.
std::vector<CountedFile> CountToothFiles(const std::string& folder, const std::vector<std::string>& names,
                                         const std::function<void(long)>& shown = {});

struct ToothCountRecord {
    std::string name;
    long lines = 0;
    long teeth = 0;
};
std::vector<ToothCountRecord> readToothCountList(const std::string& path);

std::vector<long> teethShares(long n, const std::vector<ToothCountRecord>& records);

std::vector<long> drawPicks(long share, long teeth, const std::function<double()>& random,
                            const std::function<void()>& advance);

struct ExtractOptions {
    std::string folder;
    std::string countText;  // txtCTFENo
    // The generator: uniform in [0, 1), and its advance before each pick. Empty: the
    // program's generator (Rnd) and ReseedRandomFromClock.
    std::function<double()> random;
    std::function<void()> advance;
    // Progress: (file name, share) when a file starts, pick index as teeth are copied.
    std::function<void(const std::string&, long)> fileStarted;
    std::function<void(long)> pickShown;
};

struct ExtractOutcome {
    bool done = false;          // false: refused with a message
    std::string extractPath;    // netregu_e<N>.csv
    std::string positionPath;   // netregu_e<N>_pos.csv
    long teethCopied = 0;
    std::string lastFile;       // the last file read (the window's name box shows it)
};
ExtractOutcome ExtractTeeth(const ExtractOptions& opts, Prompt& prompt);

} // namespace trelvik::csvview

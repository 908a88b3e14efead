#pragma once
// ToothLengthFile: the tooth length that the landmark window writes beside the landmark
// trial files (grid base name & "_tl.txt") and that the cusp volume and rake angle
// windows read.
//
// The file holds one line with one bare number: the 3-D distance between the mean
// positions of landmarks 1 and 2, rounded to three decimals (halves to even), in the
// general number form, ended CR LF.
//
// writeToothLengthFile rounds and writes (the file is replaced only once complete);
// readToothLengthFile returns the number and its text as read. A missing file, a file
// whose first line is not a number, or a length that is not positive and finite
// throws trelvik::Error naming the file: every reader divides by it or measures
// along it, so a zero or nonsense length must never pass silently.
#include <string>

namespace trelvik::planes {

// folder (ending in a separator) & gridBaseName & "_tl.txt"
std::string toothLengthPath(const std::string& folder, const std::string& gridBaseName);

// The length as it is stored: rounded to three decimals, halves to even.
double roundToothLength(double distance);

// The rounded length that writeToothLengthFile would store at path; throws as it does
// when that is not a positive length, so a step can check before it writes anything.
double storedToothLength(const std::string& path, double distance);

void writeToothLengthFile(const std::string& path, double distance);

struct ToothLength {
    std::string text;  // the number as written in the file (its line, blanks trimmed)
    double value = 0;
};

ToothLength readToothLengthFile(const std::string& path);

} // namespace trelvik::planes

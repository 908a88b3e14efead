#pragma once
// The rules behind the save-file dialog's OK button, kept apart from the window so
// they run without a display.
//
// A name is accepted when it is not empty; it gets the chosen type's extension
// unless it already ends in a dot and three characters; the path is the folder
// joined with that final name; a path a save would refuse (another user's link at it
// or on the way, saveRefusal) is refused with the save's own message before anything
// is asked; and when a file of that final path exists the user is asked "Overwrite
// file?" (OK goes on, Cancel refuses).
#include <optional>
#include <string>
#include <vector>

#include "core/prompt.h"

namespace trelvik {

// The items of the file-type box, in box order.
enum class SaveFileType { Txt, Csv, Dat, All };

// "*.txt (text files)", "*.csv (comma-delimited files)", "*.dat (dat files)", "*.* (all files)".
const std::vector<std::string>& saveFileTypeItems();
std::string saveFileTypeItem(SaveFileType type);
// The type of a box text; nullopt for a text that is none of the items.
std::optional<SaveFileType> saveFileTypeFromItem(const std::string& item);
// File-list pattern: "*.txt", "*.csv", "*.dat", "*.*".
std::string saveFilePattern(SaveFileType type);
// Extension added to a name without one: ".txt", ".csv", ".dat", and ".txt" for all files.
std::string saveFileExtension(SaveFileType type);

// True when the fourth character from the end is "." (a dot and three characters);
// names shorter than four characters have none.
bool hasThreeLetterExtension(const std::string& name);
// name, with the type's extension appended when it has none.
std::string withDefaultExtension(const std::string& name, SaveFileType type);
// folder and name joined by one separator (a root folder already ends in one).
std::string joinFolder(const std::string& folder, const std::string& name);

struct SaveFileChoice {
    std::string name;  // the final name, extension included
    std::string path;  // folder joined with name
};

// Applies the OK rules. Refusals ("Enter filename", a path a save would refuse, a
// declined "Overwrite file?", a name that is a folder) are shown through prompt and give
// nullopt.
std::optional<SaveFileChoice> acceptSaveFileName(const std::string& folder,
                                                 const std::string& name,
                                                 SaveFileType type, Prompt& prompt);

} // namespace trelvik

#include "shell/savefilerules.h"

#include "core/fileroutines.h"

#include <filesystem>
#include <system_error>

namespace trelvik {

namespace {
// The title the dialog's own message boxes carry.
const char* const kTitle = "Open file";
} // namespace

const std::vector<std::string>& saveFileTypeItems() {
    static const std::vector<std::string> items = {
        "*.txt (text files)", "*.csv (comma-delimited files)", "*.dat (dat files)",
        "*.* (all files)"};
    return items;
}

std::string saveFileTypeItem(SaveFileType type) {
    return saveFileTypeItems()[static_cast<size_t>(type)];
}

std::optional<SaveFileType> saveFileTypeFromItem(const std::string& item) {
    const auto& items = saveFileTypeItems();
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == item) return static_cast<SaveFileType>(i);
    return std::nullopt;
}

std::string saveFilePattern(SaveFileType type) {
    switch (type) {
    case SaveFileType::Txt: return "*.txt";
    case SaveFileType::Csv: return "*.csv";
    case SaveFileType::Dat: return "*.dat";
    case SaveFileType::All: return "*.*";
    }
    return "*.*";
}

std::string saveFileExtension(SaveFileType type) {
    switch (type) {
    case SaveFileType::Csv: return ".csv";
    case SaveFileType::Dat: return ".dat";
    case SaveFileType::Txt:
    case SaveFileType::All: return ".txt";
    }
    return ".txt";
}

bool hasThreeLetterExtension(const std::string& name) {
    return name.size() >= 4 && name[name.size() - 4] == '.';
}

std::string withDefaultExtension(const std::string& name, SaveFileType type) {
    return hasThreeLetterExtension(name) ? name : name + saveFileExtension(type);
}

std::string joinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    return folder.back() == sep ? folder + name : folder + sep + name;
}

std::optional<SaveFileChoice> acceptSaveFileName(const std::string& folder,
                                                 const std::string& name,
                                                 SaveFileType type, Prompt& prompt) {
    if (name.empty()) {
        prompt.message(kTitle, "Enter filename", Buttons::Ok);
        return std::nullopt;
    }
    SaveFileChoice choice;
    choice.name = withDefaultExtension(name, type);
    choice.path = joinFolder(folder, choice.name);

    // A save that would be refused is said now, not after "Overwrite file?" was answered.
    if (const std::string refusal = saveRefusal(choice.path); !refusal.empty()) {
        prompt.message(kTitle, refusal, Buttons::Ok);
        return std::nullopt;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(choice.path, ec);
    if (std::filesystem::is_directory(status)) {
        // Writing would fail later with a less helpful message; say it here.
        prompt.message(kTitle, choice.path + " is a folder. Enter a file name.", Buttons::Ok);
        return std::nullopt;
    }
    // Asked for the path that will actually be written, however the name was entered.
    if (std::filesystem::exists(status) &&
        prompt.message(kTitle, "Overwrite file?", Buttons::OkCancel) != Answer::Ok)
        return std::nullopt;
    return choice;
}

} // namespace trelvik

#pragma once
// What a tool step wrote, for the status line that ends the step: built before the step,
// it notes the files of the folder the step writes in (size and time); afterwards
// written() lists the files made or changed since. The user's own digitise files
// (digit*.dat), which they save while the step waits, are not the step's results. A file
// written through a symbolic link is the file the link points at, listed as that file.
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

class QLabel;
class QWidget;

namespace trelvik {

class FileListBox;

class WrittenFiles {
public:
    explicit WrittenFiles(const QString& folder);
    // Names (without folder) of the files made or changed since construction, in name order.
    QStringList written() const;
    QString folder() const { return folder_; }
    // The status line a window ends its steps with: one line of text, wrapped when long.
    static QLabel* makeStatusLine(QWidget* parent);
    // The same status line in a room of `lines` lines kept whether it shows a text or
    // none (a longer text scrolls there), so the controls beside it stay where they are
    // as steps end and begin. Sets `status`; the room is the widget to lay out.
    static QWidget* makeStatusLineRoom(QWidget* parent, QLabel*& status, int lines = 3);

    // Ends a step: the status line names what was written ("Wrote a.grd, b.csv in <folder>",
    // at most a few names, then how many more; "Nothing was written." when none), and the
    // file list shows them now, scrolled to the first it lists.
    void report(QLabel* status, FileListBox* list) const;
    // A further line of the status line, under what the step reported; none for an empty note.
    static void addLine(QLabel* status, const std::string& note);

    // A step that writes in folder, run between the two ends of a status line: the line
    // emptied and the folder noted before it, and, when it returns true, report(). The step
    // ends on the line (StepScope): what it found of an earlier step that a kill cut short
    // (working::takeSettleNotes) follows there, or stands alone. Returns what the step returned.
    static bool reportStep(QLabel* status, FileListBox* list, const QString& folder, const std::function<bool()>& step);

private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time;
    };
    QString folder_;
    std::map<std::string, Stamp> before_;
};

} // namespace trelvik

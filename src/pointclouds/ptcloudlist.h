#pragma once
// The input list of the point-cloud window and the services its commands share.
//
// The list (NoFiles entries, 1-based in the window, stored 0-based here) holds for each
// file its full name, its folder with a trailing separator (FileDir), its name less the
// last four characters (FileBase), FileDir & FileBase (FileStem), the last four
// characters (FileExt, dot included) and the output a command wrote for it
// (FileOutName). Every output is named FileStem (or FileDir and a fixed name) followed
// by a fixed suffix and, for point files, FileExt, in the input's folder.
//
// PtCloudContext carries what a command needs: the run's state, the prompt, the list,
// the read-outs, and the file list's folder and chosen name (for "Add filename").
//
// Read-outs (CloudProgress): the number of points of the file in hand ("No. points in
// file"), and the Progress steps (points processed of the total) for the bar and the
// "Points processed" label. Esc asks a loop to stop: it then throws Stopped and writes
// nothing.
#include "core/appstate.h"
#include "core/error.h"
#include "core/points.h"
#include "core/progress.h"
#include "core/prompt.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace surfer { class Application; }

namespace trelvik::ptcloud {

struct CloudProgress : Progress {
    // N of the file being read.
    virtual void pointsInFile(long long n) { (void)n; }
};

inline CloudProgress& noCloudProgress() {
    static CloudProgress silent;
    return silent;
}

// Esc (and Cancel at the replace question) throws trelvik::Stopped (core/progress.h);
// the handler ends the command quietly.

struct PtCloudList {
    int NoFiles = 0;
    int FileIndex = 0;  // 1-based entry being processed
    std::vector<std::string> FileFullName, FileOutName, FileDir, FileBase, FileStem, FileExt;
    // The window's own connection to the mapping program (grid steps); kept while the
    // window is open.
    std::shared_ptr<surfer::Application> m_Surfer;
};

struct PtCloudContext {
    AppState& app;
    Prompt& prompt;
    PtCloudList& list;
    CloudProgress& progress = noCloudProgress();
    std::string File2Folder;       // folder of the file list
    std::string Text2 = "*.txt,*.dat";  // chosen file name
};

// Captions and texts shared by the commands.
inline constexpr const char* kText2Pattern = "*.txt,*.dat";

// "Add filename": lists File2Folder & separator & Text2. Refuses, with a "Filename"
// message, a name that is empty or still a pattern ("Choose grid filename"), a name of
// fewer than four characters, and a name already listed ("Filename already added").
bool AddFilename(PtCloudContext& ctx);
// "Clear filenames".
void ClearFilenames(PtCloudList& list);

// The folder and a name joined with the platform separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// A command given a list of the wrong length: the message "<takes> The list holds <n>
// file(s).", where `takes` says how many files the command takes and in which order;
// the list stays. Returns false.
bool refuseListLength(PtCloudContext& ctx, const std::string& takes);

// Batch start of the per-file commands: with an empty list, "Add filename" first.
void AddSelectedWhenEmpty(PtCloudContext& ctx);

// A point file read for a command: refuses an empty file with a message naming it.
PointList readCloud(const std::string& path);

// Throws trelvik::Error when `output` names one of the listed inputs, so that no
// command ever writes over a file it reads.
void refuseOverwritingInput(const PtCloudList& list, const std::string& output);

// Before a command writes: the files outputs(i) names for each listed entry i (0-based)
// that exist, or that the command would write twice, asked about once (replace
// question); Cancel throws Stopped, so the command ends quietly with nothing written.
void askReplace(PtCloudContext& ctx, const std::function<std::vector<std::string>(int)>& outputs);
// The same for a command whose outputs do not depend on the entry (a join, a pair of files).
void askReplace(PtCloudContext& ctx, const std::vector<std::string>& outputs);

// Runs a command's body with the hourglass pointer, restored however it ends. A
// trelvik::Error (or another std::exception) ends the command with its message and the
// list kept; Stopped (Esc) ends it quietly. True when the body ran to its end.
bool RunCommand(PtCloudContext& ctx, const std::function<void()>& body);

// Stop check for long loops: throws Stopped once Esc was pressed.
inline void checkStop(Progress& p) {
    if (p.stopRequested()) throw Stopped();
}

} // namespace trelvik::ptcloud

// What a settle or a failed commit must leave alone, and how often a settle reads a record.
#include "core/commit/commit.h"
#include "core/error.h"
#include "core/commit/testhooks.h"
#include "core/fileroutines.h"
#include "core/commit/workingfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/killedcommits.h"
#include "support/plantedrecords.h"
#include "support/tempfolder.h"
#include "support/writefailures.h"

namespace fs = std::filesystem;
using namespace trelvik;
using namespace trelvik::testing;

namespace {
int recordReads = 0;
void countRecordRead(const fs::path&) { ++recordReads; }
} // namespace

// Undoing a cut commit never puts a kept old file over a file the user saved at its target
// since, also when the file is saved there between the undo's look and its rename.
TEST(CommitGuards, AnUndoNeverPutsAKeptFileOverWhatIsAtItsTarget) {
    static std::string savedAt;
    for (const bool afterTheLook : {false, true}) {
        TempFolder t;
        writeOld(t);
        commitKilledAfter(t.dir(), 1);
        fs::remove(workingFileOf(t, "c.dat", "new c"));  // a new file lost: the commit is undone
        if (afterTheLook) {
            fs::remove(t.path("b.dat"));
            savedAt = t.path("b.dat");
            working::beforePutBack = [](const fs::path&) { std::ofstream(savedAt) << "saved since"; };
        } else {
            fs::rename(t.write("saved", "saved since"), t.path("b.dat"));
        }
        readWholeFile(t.path("a.dat"));
        working::beforePutBack = nullptr;
        working::takeSettleNotes();
        EXPECT_EQ(t.read("a.dat"), "old a") << afterTheLook;
        EXPECT_EQ(t.read("b.dat"), "saved since") << afterTheLook;
    }
}

// A claim given back never takes the record's old name from a file put there since.
TEST(CommitGuards, AClaimGivenBackNeverReplacesAFileAtTheRecordsName) {
    TempFolder t;
    writeOld(t);
    commitKilledAfter(t.dir(), 1);
    static std::string recordName;
    recordName = recordStem(t.dir()) + ".commit";
    working::afterClaim = [](const fs::path& dir) {
        std::ofstream(dir / recordName) << "saved since";
        // The claim, opened to others meanwhile, is no longer obeyed, so it is given back.
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename().string().find(".trelvik-") != std::string::npos &&
                e.path().extension() == ".commit" && e.path().filename() != recordName)
                fs::permissions(e.path(), fs::perms::group_read, fs::perm_options::add);
    };
    readWholeFile(t.path("a.dat"));
    working::afterClaim = nullptr;
    working::takeSettleNotes();
    EXPECT_EQ(t.read(recordName), "saved since");
}

// A record's copy in another folder goes only while its name still holds the copy found, not another record.
TEST(CommitGuards, ACopyInAnotherFolderIsRemovedOnlyWhileItIsTheCopyFound) {
    TempFolder t;
    commitAcrossXAndYKilled(t);
    const std::string stem = recordStem(t.path("X"));
    for (const std::string f : {"X/", "Y/"}) fs::rename(t.path(f + stem + ".commit"), t.path(f + stem + ".undo"));
    // Under the commit's name in Y, a record that is not its copy there: read in Y, it names Y twice.
    fs::copy_file(t.path("X/" + stem + ".undo"), t.path("Y/" + stem + ".commit"));
    const std::string other = t.read("Y/" + stem + ".commit");
    readWholeFile(t.path("X/a.dat"));
    working::takeSettleNotes();
    EXPECT_EQ(t.read("X/a.dat"), "old a");
    EXPECT_FALSE(fs::exists(t.path("Y/" + stem + ".undo")));
    EXPECT_EQ(t.read("Y/" + stem + ".commit"), other);
}

// No record larger than a settle reads is written, and a larger one found is named and left unread.
TEST(CommitGuards, ARecordPastTheLargestSizeIsNeitherWrittenNorRead) {
    TempFolder many;
    std::vector<working::Staged> files;
    for (int i = 0; i < 8000; ++i) {
        const std::string target = many.path(std::string(240, 'f') + std::to_string(i));
        files.push_back({target, many.write(fs::path(working::newName(target)).filename(), "new"), ""});
    }
    EXPECT_THROW(working::CommitRecord record(files), Error);
    EXPECT_EQ(records(many.dir()), 0u);

    TempFolder t;
    writeOld(t);
    commitKilledAfter(t.dir(), 1);
    const std::string record = t.path(recordStem(t.dir()) + ".commit");
    std::ofstream(record, std::ios::app | std::ios::binary) << std::string((4u << 20) + 1, '\n');
    working::takeSettleNotes();
    readWholeFile(t.path("b.dat"));
    const std::string notes = working::takeSettleNotes();
    EXPECT_TRUE(fs::exists(record));
    EXPECT_NE(notes.find("\"" + record + "\""), std::string::npos) << notes;
    EXPECT_EQ(t.read("a.dat"), "new a");
    EXPECT_EQ(t.read("b.dat"), "old b");
}

// A record a settle leaves as it stands is read once a step, not again at every file check of the step.
TEST(CommitGuards, ARecordLeftAsItStandsIsReadOnceAStep) {
    TempFolder t;
    commitAcrossXAndYKilled(t);
    fs::remove(t.path("Y/" + recordStem(t.path("Y")) + ".commit"));  // so the record in X is left as it stands
    working::takeSettleNotes();
    recordReads = 0;
    working::afterRecordRead = countRecordRead;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(FileExists(t.path("X/a.dat")));
    working::afterRecordRead = nullptr;
    working::takeSettleNotes();
    EXPECT_EQ(recordReads, 1);
}

// A kept copy made before its record gave it an id still goes when the commit fails before any rename.
TEST(CommitGuards, AKeptCopyGoesWhenTheRecordCannotBeWritten) {
    TempFolder t;
    t.write("a.dat", "old a");
    {
        StagedFiles staged;
        writeFileAtomic(staged.work(t.path("a.dat")), "new a");
        const FileSizeLimit full(16);  // the disk fills as the record is written
        EXPECT_THROW(staged.commit(), Error);
    }
    EXPECT_EQ(t.read("a.dat"), "old a");
    EXPECT_EQ(t.fileCount(), 1u);
}

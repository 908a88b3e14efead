// Settling commits cut short by a kill: whatever the user put at a target since, a folder
// that cannot be written, what the note says, one settler per commit however many threads
// meet it, and a settle under way waited for once.
#include "core/fileroutines.h"
#include "core/commit/testhooks.h"
#include "core/commit/workingfiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/inchild.h"
#include "support/killedcommits.h"
#include "support/plantedrecords.h"
#include "support/tempfolder.h"
#include "support/writefailures.h"

namespace fs = std::filesystem;
using namespace trelvik;
using namespace trelvik::testing;

// An edit in place of a file already renamed keeps its id, not its size or time: it is the
// user's on both paths. Undone (a new file lost since), the edited target stays as it is;
// finished, the note does not claim it holds the step's new file.
TEST(CommitRecords, AnEditOfARenamedFileIsKeptOnBothPaths) {
    for (const bool undo : {true, false}) {
        TempFolder t;
        writeOld(t);
        commitKilledAfter(t.dir(), 1);
        if (undo) {
            std::ofstream(t.path("a.dat"), std::ios::app) << "\nthe user's line";
            fs::remove(workingFileOf(t, "b.dat", "new b"));
        } else {
            t.write("a.dat", "copied over");
        }
        working::takeSettleNotes();
        writeFileAtomic(t.path("x.txt"), "x");
        const std::string notes = working::takeSettleNotes();
        EXPECT_EQ(t.read("a.dat"), undo ? "new a\nthe user's line" : "copied over") << notes;
        EXPECT_EQ(t.read("b.dat"), undo ? "old b" : "new b") << notes;
        EXPECT_NE(notes.find("\"a.dat\" was left as it was saved"), std::string::npos) << notes;
        EXPECT_EQ(notes.find("a.dat, b.dat"), std::string::npos) << notes;
    }
}

// A file saved over a target in place, of the old size and with the old time set back on
// it (as a copy keeping times does), is told from the old file by its time of change.
TEST(CommitRecords, ASaveCarryingTheOldTimeIsToldByItsChangeTime) {
    TempFolder t;
    writeOld(t);
    commitKilledAfter(t.dir(), 0);
    struct stat old{};
    ASSERT_EQ(::stat(t.path("c.dat").c_str(), &old), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // past a coarse clock's tick
    t.write("c.dat", "old C");
    const struct timespec times[2] = {old.st_atim, old.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, t.path("c.dat").c_str(), times, 0), 0);
    writeFileAtomic(t.path("x.txt"), "x");
    EXPECT_EQ(t.read("c.dat"), "old C");
    EXPECT_EQ(t.read("a.dat"), "new a");
}

// A folder found quiet is told by its time of change, which no one can set back: a commit
// cut short there since is settled though the folder's time of modification was set back.
TEST(CommitRecords, AQuietFolderWithItsTimeSetBackIsStillSettled) {
    TempFolder t;
    writeOld(t);
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));  // a folder's time is trusted once this old
    struct stat quiet{};
    ASSERT_EQ(::stat(t.dir().c_str(), &quiet), 0);
    EXPECT_TRUE(FileExists(t.path("a.dat")));
    commitKilledAfter(t.dir(), 1);
    const struct timespec times[2] = {quiet.st_atim, quiet.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, t.dir().c_str(), times, 0), 0);
    working::takeSettleNotes();
    EXPECT_EQ(readWholeFile(t.path("b.dat")), "new b");
    EXPECT_NE(working::takeSettleNotes().find("was finished"), std::string::npos);
}

// In a group folder (2775) holding a colleague's 0664 files, the user's step killed before
// each rename settles all new, or all old where a file it had renamed was deleted since,
// with nothing left: the files a record obeyed names are moved whoever owns them.
TEST(CommitRecords, AColleaguesFilesInAGroupFolderSettleAllNewOrAllOld) {
    if (::geteuid() != 0) GTEST_SKIP() << "staging files of another user needs root";
    constexpr uid_t kColleague = 65534;
    for (std::size_t killed = 0; killed < 3; ++killed)
        for (const bool deleted : {false, true}) {
            if (deleted && killed == 0) continue;
            TempFolder t;
            ASSERT_EQ(::chown(t.dir().c_str(), 0, kColleague), 0);
            fs::permissions(t.dir(), static_cast<fs::perms>(02775));
            writeOld(t);
            for (const std::string name : {"a.dat", "b.dat", "c.dat"}) {
                ASSERT_EQ(::chown(t.path(name).c_str(), kColleague, kColleague), 0);
                fs::permissions(t.path(name), static_cast<fs::perms>(0664));
            }
            commitKilledAfter(t.dir(), killed);
            if (deleted) fs::remove(t.path("a.dat"));
            working::takeSettleNotes();
            readWholeFile(t.path("b.dat"));
            const std::string notes = working::takeSettleNotes();
            for (const std::string name : {"a", "b", "c"})
                EXPECT_EQ(t.read(name + ".dat"), (deleted ? "old " : "new ") + name) << killed << deleted << notes;
            EXPECT_EQ(std::distance(fs::directory_iterator(t.dir()), fs::directory_iterator()), 3)
                << killed << deleted << notes;
        }
}

// In a folder the user cannot write nothing can be settled: the step says which files hold
// the new content, which the old and which were saved since, before it reads them. A commit
// across two folders of which one cannot be written is said so, naming that folder, and
// nothing of it is touched in either. A record that cannot be claimed is said as well.
TEST(CommitRecords, AFolderThatCannotBeWrittenIsSaidWithWhatIsNewAndWhatOld) {
    for (int round = 0; round < 3; ++round) {
        TempFolder t;
        const mode_t mask = ::umask(022);  // readable by the other user the step runs as below
        for (const std::string f : {"ro", "X", "Y"}) fs::create_directories(t.path(f));
        for (const std::string f : {"", "ro", "X", "Y"}) fs::permissions(t.path(f), fs::perms::all, fs::perm_options::add);
        std::string readOnly = "ro", read = "ro/b.dat";
        if (round == 0) {
            writeOld(t, "ro/");
            commitKilledAfter(t.path("ro"), 1);
            t.write("ro/c.dat", "saved later");
        } else {
            commitAcrossXAndYKilled(t);
            readOnly = round == 1 ? "Y" : "X";
            read = round == 1 ? "X/a.dat" : "Y/b.dat";
        }
        ::umask(mask);
        if (::geteuid() == 0)  // the records of the user the step runs as
            for (const std::string f : {"ro", "X", "Y"})
                for (const auto& e : fs::directory_iterator(t.path(f)))
                    if (e.path().extension() == ".commit") ASSERT_EQ(::chown(e.path().c_str(), 65534, 65534), 0);
        fs::permissions(t.path(readOnly), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        const auto [status, said] = inChild([&t, &read] {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) throw std::runtime_error("setuid");
            std::string notes = readWholeFile(t.path(read));
            return notes + "|" + working::takeSettleNotes();
        });
        fs::permissions(t.path(readOnly), fs::perms::owner_write, fs::perm_options::add);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        const std::string cannot = "could not be settled, as the folder ";
        if (round == 0) {
            EXPECT_EQ(said.substr(0, said.find('|')), "old b");
            EXPECT_NE(said.find(cannot + "cannot be written"), std::string::npos) << said;
            EXPECT_NE(said.find("a.dat holds its new content; b.dat is as before it; c.dat was saved after it was cut "
                                "short."),
                      std::string::npos)
                << said;
            continue;
        }
        EXPECT_EQ(said.substr(0, said.find('|')), round == 1 ? "new a" : "old b");
        EXPECT_NE(said.find(cannot + t.path(readOnly) + " cannot be written"), std::string::npos) << said;
        EXPECT_NE(said.find(round == 1 ? "a.dat holds its new content; " + t.path("Y/b.dat") + " is as before it."
                                       : t.path("X/a.dat") + " holds its new content; b.dat is as before it."),
                  std::string::npos)
            << said;
        EXPECT_EQ(records(t.path("X")) + records(t.path("Y")), 2u) << said;
    }
    // A record that cannot be claimed for any other reason (here a mount point, which no
    // rename moves) is said too: the commit stays as the kill left it.
    TempFolder m;
    writeOld(m);
    commitKilledAfter(m.dir(), 1);
    const std::string record = m.path(recordStem(m.dir()) + ".commit");
    const auto [status, said] = inChild([&m, &record] {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(record.c_str(), record.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return std::string("no mounts");  // a mount of its own needs root
        const std::string read = readWholeFile(m.path("b.dat"));
        return read + "|" + working::takeSettleNotes();
    });
    if (said != "no mounts") {
        EXPECT_EQ(said.substr(0, said.find('|')), "old b") << status;
        EXPECT_NE(said.find("\"" + record + "\" could not be claimed"), std::string::npos) << said;
    }
}

// A commit across two folders has one settler, however many threads meet its records at
// once; and a thread that meets a settle under way waits for it before reading. Every
// other round as on a disk that cannot rename without replacing (exFAT or NTFS through FUSE).
TEST(CommitRecords, OneSettlerPerCommitAndReadersWaitForIt) {
    for (int round = 0; round < 40; ++round) {
        renameNoReplace = nullptr;
        if (round % 2) renameNoReplace = [](int, const char*, int, const char*) { return EINVAL; };
        TempFolder t;
        commitAcrossXAndYKilled(t);
        writeOld(t);
        commitKilledAfter(t.dir(), 1);
        working::takeSettleNotes();
        std::atomic<int> ready{0};
        std::string read[2];
        const auto go = [&ready](const std::function<void()>& step) {
            return std::thread([&ready, step] {
                ++ready;
                while (ready < 4) std::this_thread::yield();
                step();
            });
        };
        std::thread threads[] = {go([&] { working::tidyFolder(t.path("X")); }),
                                 go([&] { working::tidyFolder(t.path("Y")); }),
                                 go([&] { read[0] = readWholeFile(t.path("c.dat")); }),
                                 go([&] { read[1] = readWholeFile(t.path("c.dat")); })};
        for (auto& th : threads) th.join();
        const std::string notes = working::takeSettleNotes();
        EXPECT_EQ(t.read("X/a.dat"), "new a") << round << notes;
        EXPECT_EQ(t.read("Y/b.dat"), "new b") << round << notes;
        EXPECT_EQ(read[0], "new c") << round;
        EXPECT_EQ(read[1], "new c") << round;
        EXPECT_EQ(std::distance(fs::directory_iterator(t.path("X")), fs::directory_iterator()), 1) << round;
        EXPECT_EQ(std::distance(fs::directory_iterator(t.path("Y")), fs::directory_iterator()), 1) << round;
        EXPECT_EQ(notes.find("could not"), std::string::npos) << notes;
        EXPECT_EQ(notes.find("not the program's own"), std::string::npos) << notes;
    }
    renameNoReplace = nullptr;
}

// A record that goes while a settler reads it was taken by the other settler: the note
// says nothing of it. Here the other settler ends the whole commit at that moment.
namespace {
std::string otherFolder;
void settleTheOtherFolder(const fs::path&) {
    working::afterRecordRead = nullptr;
    working::settleFolder(otherFolder);
}
} // namespace

TEST(CommitRecords, ARecordTakenByAnotherSettlerAsItIsReadIsNotNamed) {
    TempFolder t;
    commitAcrossXAndYKilled(t);
    working::takeSettleNotes();
    otherFolder = t.path("X");
    working::afterRecordRead = settleTheOtherFolder;
    EXPECT_EQ(readWholeFile(t.path("Y/b.dat")), "new b");
    working::afterRecordRead = nullptr;
    const std::string notes = working::takeSettleNotes();
    EXPECT_EQ(t.read("X/a.dat"), "new a");
    EXPECT_EQ(notes.find("not the program's own"), std::string::npos) << notes;
    EXPECT_NE(notes.find("was finished: "), std::string::npos) << notes;
}

// What a settle says names each file once, with "is" and "holds" for one: a commit
// finished, one undone, and one undone but for a file whose kept copy is no longer the one
// made, which names the files as before and the one not put back.
TEST(CommitRecords, TheNoteSaysWhichFilesAreAsBeforeAndWhichCouldNotBePutBack) {
    for (int round = 0; round < 3; ++round) {
        TempFolder t;
        writeOld(t);
        if (round == 0) {
            commitKilledAfter(std::vector<fs::path>{t.dir() / "a.dat"}, 0);
        } else if (round == 1) {  // b's new file lost, a edited since: kept as it is
            commitKilledAfter(std::vector<fs::path>{t.dir() / "a.dat", t.dir() / "b.dat"}, 1);
            fs::remove(workingFileOf(t, "b.dat", "new b"));
            std::ofstream(t.path("a.dat"), std::ios::app) << " edited";
        } else {
            commitKilledAfter(t.dir(), 2);
            fs::remove(workingFileOf(t, "c.dat", "new c"));
            const std::string keptA = workingFileOf(t, "a.dat", "old a");
            fs::rename(t.write("copy", "old a"), keptA);  // a file of its own, while the kept one is there
        }
        working::takeSettleNotes();
        readWholeFile(t.path("b.dat"));
        const std::string notes = working::takeSettleNotes();
        const std::string lead = "A step cut short in " + t.folder() + " while putting files in place ";
        const std::string said[] = {
            lead + "was finished: a.dat holds its new file.",
            lead + "was undone: b.dat is as it was before it.",
            lead + "could not be finished or undone: b.dat and c.dat are as they were before it; the old \"" +
                t.path("a.dat") + "\" could not be put back (its copy is no longer the one made)"};
        EXPECT_NE(notes.find(said[round]), std::string::npos) << notes;
    }
}

// A claim of a settler that is still alive is waited for once a step, however many files
// the step checks in its folder, and the note names the claim; the folder is still listed
// at each of them.
TEST(CommitRecords, ALiveClaimIsWaitedForOnceAStepAndNamed) {
    TempFolder t;
    writeOld(t);
    commitKilledAfter(t.dir(), 1);
    const std::string record = recordStem(t.dir()) + ".commit";
    ASSERT_NE(record, ".commit");
    const std::string claim = working::stamped(fs::path(record).stem().string() + ".trelvik-", working::hostName(),
                                               ::getppid(), 0) + ".commit";
    fs::rename(t.path(record), t.path(claim));
    working::takeSettleNotes();
    const auto start = std::chrono::steady_clock::now();
    for (const std::string name : {"a.dat", "b.dat", "c.dat"}) EXPECT_TRUE(FileExists(t.path(name)));
    const auto waited = std::chrono::steady_clock::now() - start;
    // Given back by that settler, the record is settled at the step's next file check.
    fs::rename(t.path(claim), t.path(record));
    EXPECT_TRUE(FileExists(t.path("c.dat")));
    EXPECT_EQ(t.read("c.dat"), "new c");
    const std::string notes = working::takeSettleNotes();
    EXPECT_LT(waited, std::chrono::seconds(9)) << "waited more than once";
    EXPECT_NE(notes.find("is being settled by another run of the program, which did not end within 5 seconds; this "
                         "step went on without waiting for it. Its claim is \"" + t.path(claim) + "\"."),
              std::string::npos)
        << notes;
}

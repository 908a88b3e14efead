// Settling commits cut short by a kill: only records the program could have written,
// whatever the user put at a target since, a folder that cannot be written, and one
// settler per commit however many threads meet it.
#include "core/fileroutines.h"
#include "core/workingfiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/killedcommits.h"
#include "support/tempfolder.h"
#include "support/writefailures.h"

namespace fs = std::filesystem;
using namespace trelvik;
using namespace trelvik::testing;

namespace {

std::string field(const std::string& s) { return std::to_string(s.size()) + ":" + s; }

struct Entry {
    std::string target, fresh, kept;
    std::string freshId = "0", oldId = "0", oldSize = "-1", oldTime = "0";
};

// "<dev>" and "<ino>" fields of a file, and its size and time, as a record holds them.
std::string idOf(const std::string& path) {
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return field(std::to_string(st.st_dev)) + field(std::to_string(st.st_ino));
}
std::string sizeOf(const std::string& path) {
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return std::to_string(st.st_size);
}
std::string timeOf(const std::string& path) {
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return std::to_string(static_cast<long long>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec);
}

// A record planted in dir by someone else: named as a record of an ended writer of this
// host, its check right, holding what the planter chose.
std::string plant(const fs::path& dir, const std::string& ext, const std::vector<Entry>& entries,
                  pid_t writer = endedProcessId()) {
    std::string text = "trelvik commit record\nF" + field(".") + "\n";
    for (const Entry& e : entries) {
        text += "E" + field(e.target) + field(e.fresh) + field(e.kept);
        text += e.freshId == "0" ? field("0") + field("0") : e.freshId;
        text += e.oldId == "0" ? field("0") + field("0") : e.oldId;
        text += field(e.oldSize) + field(e.oldTime) + "\n";
    }
    const std::string name = working::stamped(".commit.trelvik-", working::hostName(), writer, 0) + ext;
    std::ofstream((dir / name).string(), std::ios::binary) << text + "end\n";
    return name;
}

std::size_t records(const fs::path& dir) {
    std::size_t n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".commit" || e.path().extension() == ".undo") ++n;
    return n;
}

std::string workingFileOf(const TempFolder& t, const std::string& name) {
    for (const auto& e : fs::directory_iterator(t.dir()))
        if (e.path().filename().string().rfind("." + name + ".trelvik-", 0) == 0) return e.path().string();
    return {};
}

}  // namespace

// Records planted in a shared folder by someone else make no step there move, replace or
// delete a file outside the folder or a file the program did not make; each stays, and
// is named. A real commit across two folders is still settled. The last two are planted
// by another user (which only root can stage here): one that gives a user's file as its
// renamed new file by its id, and one that would replace a user's file in a folder where
// only a file's owner may replace it.
TEST(CommitRecords, APlantedRecordTouchesNothingAndIsNamed) {
    for (int planted = 0; planted < 6; ++planted) {
        if (planted >= 4 && ::geteuid() != 0) continue;
        TempFolder t;
        fs::create_directories(t.path("shared"));
        fs::create_directories(t.path("victim"));
        const fs::path shared = t.path("shared");
        for (const std::string name : {"thesis.txt", "notes.txt", "report.txt"}) t.write("victim/" + name, "mine");
        t.write("shared/grid.txt", "grid");
        t.write("shared/userfile.txt", "user's");
        const std::string planters = t.write("shared/p.txt", "planter's");
        std::string name;
        if (planted == 0) {
            name = plant(shared, ".undo", {{"stolen.txt", working::workingFileName("x", working::hostName(), 1, 0),
                                            "../victim/thesis.txt"}});
        } else if (planted == 1) {
            name = plant(shared, ".commit", {{"p.txt", "p.txt", t.path("victim/notes.txt"), idOf(planters)}});
        } else if (planted == 2) {
            const std::string report = t.path("victim/report.txt");
            name = plant(shared, ".commit",
                         {{"../victim/report.txt", "p.txt", "", idOf(planters), idOf(report), sizeOf(report),
                           timeOf(report)}});
        } else if (planted == 3) {
            name = plant(shared, ".commit", {{"p.txt", "p.txt", "userfile.txt", idOf(planters)}});
        } else {
            const std::string user = t.path("shared/userfile.txt");
            const pid_t writer = endedProcessId();
            const std::string fresh = working::workingFileName("userfile.txt", working::hostName(), writer, 1);
            if (planted == 4) {
                name = plant(shared, ".undo", {{"userfile.txt", fresh, "", idOf(user)}}, writer);
            } else {
                fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
                std::ofstream(shared / fresh, std::ios::binary) << "planter's";
                ASSERT_EQ(::chown((shared / fresh).c_str(), 65534, 65534), 0);
                name = plant(shared, ".commit",
                             {{"userfile.txt", fresh, "", idOf((shared / fresh).string()), idOf(user), sizeOf(user),
                               timeOf(user)}},
                             writer);
            }
            ASSERT_EQ(::chown((shared / name).c_str(), 65534, 65534), 0);
        }
        working::takeSettleNotes();
        EXPECT_EQ(readWholeFile(t.path("shared/grid.txt")), "grid");  // a step that only reads
        for (const std::string file : {"thesis.txt", "notes.txt", "report.txt"})
            EXPECT_EQ(t.read("victim/" + file), "mine") << planted << file;
        EXPECT_EQ(t.read("shared/userfile.txt"), "user's") << planted;
        EXPECT_EQ(t.read("shared/p.txt"), "planter's") << planted;
        EXPECT_FALSE(fs::exists(t.path("shared/stolen.txt"))) << planted;
        EXPECT_TRUE(fs::exists(shared / name)) << planted;
        const std::string notes = working::takeSettleNotes();
        EXPECT_NE(notes.find("\"" + (shared / name).string() + "\" is named as a record"), std::string::npos) << notes;
        EXPECT_NE(notes.find("not the program's own"), std::string::npos) << notes;
    }

    if (::geteuid() == 0) {
        // Planted by another user where anyone may write: the file it would replace is
        // not its owner's, so it is undone, which removes only the planter's own file.
        TempFolder t;
        const std::string user = t.write("userfile.txt", "user's");
        const pid_t writer = endedProcessId();
        const std::string fresh = working::workingFileName("userfile.txt", working::hostName(), writer, 1);
        t.write(fresh, "planter's");
        const std::string name = plant(t.dir(), ".commit",
                                       {{"userfile.txt", fresh, "", idOf(t.path(fresh)), idOf(user), sizeOf(user),
                                         timeOf(user)}},
                                       writer);
        for (const std::string& f : {t.path(fresh), t.path(name)}) ASSERT_EQ(::chown(f.c_str(), 65534, 65534), 0);
        EXPECT_EQ(readWholeFile(user), "user's");
        EXPECT_FALSE(fs::exists(t.path(fresh)));
    }

    TempFolder t;
    fs::create_directories(t.path("X"));
    fs::create_directories(t.path("Y"));
    t.write("X/a.dat", "old a");
    t.write("Y/b.dat", "old b");
    commitKilledAfter(std::vector<fs::path>{t.path("X/a.dat"), t.path("Y/b.dat")}, 1);
    EXPECT_EQ(readWholeFile(t.path("Y/b.dat")), "new b");
    EXPECT_EQ(t.read("X/a.dat"), "new a");
    EXPECT_EQ(records(t.path("X")) + records(t.path("Y")), 0u);
}

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
            fs::remove(workingFileOf(t, "b.dat"));
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

// In a folder the user cannot write nothing can be settled: the step says which files hold
// the new content and which the old before it reads them.
TEST(CommitRecords, AFolderThatCannotBeWrittenIsSaidWithWhatIsNewAndWhatOld) {
    TempFolder t;
    const mode_t mask = ::umask(022);  // readable by the other user the step runs as below
    fs::create_directories(t.path("ro"));
    fs::permissions(t.dir(), fs::perms::all, fs::perm_options::add);
    fs::permissions(t.path("ro"), fs::perms::all, fs::perm_options::add);
    writeOld(t, "ro/");
    commitKilledAfter(t.path("ro"), 1);
    ::umask(mask);
    fs::permissions(t.path("ro"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) _exit(2);
        std::string notes;
        try {
            notes = readWholeFile(t.path("ro/b.dat"));
            notes += "|" + working::takeSettleNotes();
        } catch (...) {
            _exit(3);
        }
        if (::write(pipe[1], notes.data(), notes.size()) < 0) _exit(4);
        _exit(0);
    }
    ::close(pipe[1]);
    std::string said;
    char buf[4096];
    for (ssize_t n; (n = ::read(pipe[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
    ::close(pipe[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    fs::permissions(t.path("ro"), fs::perms::owner_write, fs::perm_options::add);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(said.substr(0, said.find('|')), "old b");
    EXPECT_NE(said.find("could not be settled, as the folder cannot be written"), std::string::npos) << said;
    EXPECT_NE(said.find("a.dat holds its new content; b.dat and c.dat are as before it."), std::string::npos) << said;
}

// A commit across two folders has one settler, however many threads meet its records at
// once; and a thread that meets a settle under way waits for it before reading.
TEST(CommitRecords, OneSettlerPerCommitAndReadersWaitForIt) {
    for (int round = 0; round < 40; ++round) {
        TempFolder t;
        fs::create_directories(t.path("X"));
        fs::create_directories(t.path("Y"));
        t.write("X/a.dat", "old a");
        t.write("Y/b.dat", "old b");
        writeOld(t);
        commitKilledAfter(std::vector<fs::path>{t.path("X/a.dat"), t.path("Y/b.dat")}, 1);
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
    }
}

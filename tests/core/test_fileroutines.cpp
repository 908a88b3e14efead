#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/commit/testhooks.h"

#include "core/error.h"
#include "core/commit/workingfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <csignal>
#include <fstream>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/inchild.h"
#include "support/tempfolder.h"
#include "support/killedcommits.h"
#include "support/writefailures.h"

namespace fs = std::filesystem;
using namespace trelvik;

using trelvik::testing::endedProcessId;
using trelvik::testing::endedWriterFile;
using trelvik::testing::FileSizeLimit;
using trelvik::testing::TempFolder;
using namespace trelvik::testing;

using trelvik::testing::entries;

TEST(FileRoutines, ExistenceTests) {
    TempFolder t;
    const std::string f = t.write("a.txt", "x");
    EXPECT_TRUE(DirExists(t.folder()) && DirExists("/") && FileExists(f));
    for (const std::string& p : {f, std::string(), t.path("missing")}) EXPECT_FALSE(DirExists(p)) << p;
    for (const std::string& p : {t.folder(), std::string(), t.path("missing.txt")}) EXPECT_FALSE(FileExists(p)) << p;
}

TEST(FileRoutines, ConvertLineEndsNormalisesEveryKind) {
    TempFolder t;
    ScriptedPrompt p;
    struct Case {
        std::string in, crlf, lf;
    } cases[] = {
        {"a\nb\n", "a\r\nb\r\n", "a\nb\n"},
        {"a\r\nb", "a\r\nb\r\n", "a\nb\n"},
        {"a\rb\r", "a\r\nb\r\n", "a\nb\n"},
        {"a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd\r\n", "a\nb\nc\nd\n"},
        {"a\n\nb\r\n\r\n", "a\r\n\r\nb\r\n\r\n", "a\n\nb\n\n"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const std::string in = t.write("in.txt", c.in);
        // A longer old output is replaced, not overwritten from its first byte.
        const std::string out = t.write("out.txt", std::string(100, 'z'));
        ASSERT_TRUE(ConvertLineEnds(in, out, 1, false, p));
        EXPECT_EQ(readWholeFile(out), c.crlf);
        ASSERT_TRUE(ConvertLineEnds(in, out, 0, false, p));
        EXPECT_EQ(readWholeFile(out), c.lf);
        EXPECT_TRUE(FileExists(in));
    }
    EXPECT_TRUE(p.shown.empty());
    const std::string in = t.write("in.txt", "x\ny\n");
    ASSERT_TRUE(ConvertLineEnds(in, in, 1, false, p));  // in place
    EXPECT_EQ(readWholeFile(in), "x\r\ny\r\n");
    ASSERT_TRUE(ConvertLineEnds(in, in, 0, true, p));  // in place, asked to delete the input
    EXPECT_EQ(readWholeFile(in), "x\ny\n");
    const std::string out = t.path("o2.txt");
    ASSERT_TRUE(ConvertLineEnds(in, out, 1, true, p));
    EXPECT_FALSE(FileExists(in));
    EXPECT_EQ(entries(t.dir()), 2u);  // out.txt and o2.txt, no temp files left
}

TEST(FileRoutines, ConvertLineEndsReportsFailures) {
    TempFolder t;
    ScriptedPrompt p;
    EXPECT_FALSE(ConvertLineEnds(t.path("missing.txt"), t.path("out.txt"), 1, true, p));
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].title, "Trelvik");
    EXPECT_EQ(p.shown[0].text.rfind("Error: ", 0), 0u);
    EXPECT_NE(p.shown[0].text.find("missing.txt"), std::string::npos);
    EXPECT_NE(p.shown[0].text.find("\nNumber: 53"), std::string::npos);
    EXPECT_FALSE(FileExists(t.path("out.txt")));
    // Unwritable output: the input stays even when asked to delete it.
    const std::string in = t.write("in.txt", "a\n");
    EXPECT_FALSE(ConvertLineEnds(in, t.path("nofolder/out.txt"), 1, true, p));
    ASSERT_EQ(p.shown.size(), 2u);
    EXPECT_NE(p.shown[1].text.find("Number: "), std::string::npos);
    EXPECT_TRUE(FileExists(in));
}

TEST(FileRoutines, AtomicWritesAndWholeReads) {
    TempFolder t;
    const std::string f = t.path("r.csv");
    writeFileAtomic(f, "old\r\n");
    {
        AtomicTextWriter w(f);
        w.line("\"x\",1");
        // Not committed: the old content stays and the temp file goes.
    }
    EXPECT_EQ(readWholeFile(f), "old\r\n");
    EXPECT_EQ(entries(t.dir()), 1u);
    {
        AtomicTextWriter w(f);
        std::string big(3 << 20, 'q');
        w.write(big);
        w.line("");
        for (int i = 0; i < 1000; ++i) w.line("row");
        w.commit();
    }
    const std::string back = readWholeFile(f);
    EXPECT_EQ(back.size(), (3u << 20) + 2 + 1000 * 5);
    EXPECT_EQ(back.substr(back.size() - 5), "row\r\n");
    EXPECT_EQ(entries(t.dir()), 1u);
    try {
        readWholeFile(t.path("gone.dat"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("gone.dat"), std::string::npos);
    }
    EXPECT_THROW(readWholeFile(t.folder()), Error);
    EXPECT_THROW(writeFileAtomic(t.path("no/such/dir.txt"), "x"), Error);
}

// A full disk, simulated by a file-size limit: the append fails and the table keeps its
// old bytes, so the next append is not glued onto a torn row.
TEST(FileRoutines, FailedAppendLeavesTheFileAsItWas) {
    TempFolder t;
    const std::string f = t.path("table.csv");
    writeFileAtomic(f, "\"Name\",\"Value\"\r\n");
    appendFileAtomic(f, "\"a\",1\r\n");
    const std::string before = readWholeFile(f);

    {
        FileSizeLimit limit(before.size() + 5);
        EXPECT_THROW(appendFileAtomic(f, "\"b\",22222222222222222222\r\n"), Error);
    }

    EXPECT_EQ(readWholeFile(f), before);
    appendFileAtomic(f, "\"c\",3\r\n");
    EXPECT_EQ(readWholeFile(f), before + "\"c\",3\r\n");
}

// An append killed in mid-write (here by the size limit's own signal, which ends the
// process as a kill does) leaves the old table; the next append clears the killed one's
// temporary and adds its rows whole. A table torn by an older version gets its last
// line ended, so no row is joined to another.
TEST(FileRoutines, KilledAppendLeavesTheOldTableAndATornRowIsEnded) {
    TempFolder t;
    const std::string f = t.path("table.csv");
    writeFileAtomic(f, "\"Name\",\"Value\"\r\n\"a\",1\r\n");
    const std::string before = readWholeFile(f);
    std::string block;
    for (int i = 0; i < 20000; ++i) block += "\"b\"," + std::to_string(i) + "\r\n";
    const pid_t child = fork();
    if (child == 0) {
        struct rlimit none{0, 0}, small{};
        setrlimit(RLIMIT_CORE, &none);
        getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = before.size() + 4096;
        setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        try {
            appendFileAtomic(f, block);
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_EQ(readWholeFile(f), before);
    EXPECT_EQ(entries(t.dir()), 2u);  // the table and the killed append's temporary
    appendFileAtomic(f, "\"c\",3\r\n");
    EXPECT_EQ(readWholeFile(f), before + "\"c\",3\r\n");
    EXPECT_EQ(entries(t.dir()), 1u);

    const std::string torn = t.write("torn.csv", "\"Name\",\"Value\"\r\n\"a\",1\r\n\"b\",2");
    appendFileAtomic(torn, "\"c\",3\r\n");
    EXPECT_EQ(readWholeFile(torn), "\"Name\",\"Value\"\r\n\"a\",1\r\n\"b\",2\r\n\"c\",3\r\n");
}

// Replacing keeps what the user set up: the file's permissions and a symbolic link.
// A temporary left by a killed writer is removed the next time the target is written.
TEST(FileRoutines, ReplaceKeepsModeAndLinksAndClearsStaleTemps) {
    TempFolder t;
    const std::string f = t.path("plane.txt");
    writeFileAtomic(f, "one\r\n");
    fs::permissions(f, fs::perms::owner_read | fs::perms::owner_write);
    writeFileAtomic(f, "two\r\n");
    EXPECT_EQ(fs::status(f).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    // The new content is the user's alone until it has the old mode: were the change of
    // mode refused (as a disk without Unix permissions refuses it), it would stay so.
    fs::permissions(f, static_cast<fs::perms>(0644));
    const auto [status, mode] = inChild([&f] {
        ::umask(022);
        sock_filter refuse[] = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fchmod, 0, 1),
                                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
                                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
        const sock_fprog prog{4, refuse};
        if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &prog) != 0)
            return std::string("no filter");
        writeFileAtomic(f, "two\r\n");
        return std::to_string(static_cast<int>(fs::status(f).permissions() & fs::perms::all));
    });
    if (mode != "no filter") EXPECT_EQ(mode, std::to_string(0600)) << status;  // where filters may be set

    const std::string link = t.path("link.txt");
    fs::create_symlink(f, link);
    writeFileAtomic(link, "three\r\n");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readWholeFile(f), "three\r\n");

    const std::string stale = t.write(endedWriterFile("plane.txt"), "partial");
    const std::string live = t.write(working::workingFileName("plane.txt", working::hostName(), getppid(), 0),
                                     "someone writing");
    writeFileAtomic(f, "four\r\n");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_EQ(readWholeFile(f), "four\r\n");

    // A name at the folder's limit (multi-byte characters at the cut) is written too,
    // twice, and leaves no temporary.
    std::string longName;
    while (longName.size() + 2 <= 248) longName += "\xc3\xa9";
    longName += "_zz.txt";
    ASSERT_EQ(longName.size(), 255u);
    const std::size_t before = entries(t.path(""));
    writeFileAtomic(t.path(longName), "five\r\n");
    writeFileAtomic(t.path(longName), "six\r\n");
    EXPECT_EQ(readWholeFile(t.path(longName)), "six\r\n");
    EXPECT_EQ(entries(t.path("")), before + 1);
}

// A step's files: written under working names, put in place all together or not at all.
TEST(StagedFiles, SameWorkingNameWhenAskedAgainAndCommitPutsAllInPlace) {
    TempFolder t;
    t.write("a.dat", "old a");
    StagedFiles staged;
    const std::string a = staged.work(t.path("a.dat"));
    const std::string b = staged.work(t.path("b.dat"));
    EXPECT_EQ(staged.work(t.path("a.dat")), a);
    EXPECT_NE(a, b);
    // A working file is written where it is, not replaced by a temporary of its own: each
    // file of a set costs one write, one sync and one rename.
    struct stat made{}, written{};
    ASSERT_EQ(::stat(a.c_str(), &made), 0);
    writeFileAtomic(a, "new a");
    writeFileAtomic(b, "new b");
    staged.append(t.path("c.dat"), "new c");
    ASSERT_EQ(::stat(a.c_str(), &written), 0);
    EXPECT_EQ(written.st_ino, made.st_ino);
    staged.commit();
    EXPECT_EQ(t.read("c.dat"), "new c");
    EXPECT_EQ(t.read("a.dat"), "new a");
    EXPECT_EQ(t.read("b.dat"), "new b");
    EXPECT_EQ(entries(t.dir()), 3u);
}

TEST(StagedFiles, UncommittedWorkingFilesAreRemoved) {
    TempFolder t;
    t.write("a.dat", "old a");
    {
        StagedFiles staged;
        writeFileAtomic(staged.work(t.path("a.dat")), "new a");
        writeFileAtomic(staged.work(t.path("b.dat")), "new b");
    }
    EXPECT_EQ(t.read("a.dat"), "old a");
    EXPECT_EQ(entries(t.dir()), 1u);
}

// A grid program call on working files that fails names the user's files, and a
// refusal keeps its title.
TEST(StagedFiles, AFailedCallNamesTheFilesTheWorkingNamesStandFor) {
    TempFolder t;
    StagedFiles staged;
    const std::string grid = t.path("scan.grd"), work = staged.work(grid);
    try {
        staged.naming([&] { throw trelvik::Refusal("Grid", "GridData: cannot make " + work + " from " + work); });
        FAIL() << "the refusal was swallowed";
    } catch (const trelvik::Refusal& e) {
        EXPECT_EQ(e.title(), "Grid");
        EXPECT_EQ(std::string(e.what()), "GridData: cannot make " + grid + " from " + grid);
    }
}

// Esc pressed during a call on working files still ends the step as stopped.
TEST(StagedFiles, EscDuringACallOnWorkingFilesStaysAStop) {
    StagedFiles staged;
    EXPECT_THROW(staged.naming([] { throw trelvik::Stopped(); }), trelvik::Stopped);
}

// A folder where the third file should go: the first two, renamed already, get their old
// state back (an old file, or no file), and no working or kept file stays.
TEST(StagedFiles, FailedCommitLeavesEveryTargetAsItWas) {
    TempFolder t;
    t.write("a.dat", "old a");
    fs::create_directory(t.path("c.dat"));
    {
        StagedFiles staged;
        for (const std::string name : {"a.dat", "b.dat", "c.dat"}) writeFileAtomic(staged.work(t.path(name)), "new");
        EXPECT_THROW(staged.commit(), Error);
        EXPECT_EQ(t.read("a.dat"), "old a");
        EXPECT_FALSE(fs::exists(t.path("b.dat")));
        EXPECT_TRUE(fs::is_directory(t.path("c.dat")));
    }
    EXPECT_EQ(entries(t.dir()), 2u);
}

// A step killed in mid-write leaves working files, some of them working files of working
// files (a working file is itself replaced through one); the next write in the folder
// sweeps them, whatever it writes. A live process's files stay.
TEST(StagedFiles, AnyWriteInTheFolderSweepsWorkingFilesAKilledStepLeft) {
    TempFolder t;
    const std::string& host = working::hostName();
    const long dead = endedProcessId();
    const std::string stale = working::workingFileName("a.dat", host, dead, 0);
    const std::string nested = working::workingFileName(stale, host, dead, 1);
    const std::vector<std::string> gone = {stale, nested, working::workingFileName(nested, host, dead, 2),
                                           working::workingFileName("scan.grd", host, dead, 3)};
    const std::string live = working::workingFileName("a.dat", host, getppid(), 0);
    for (const auto& n : gone) t.write(n, "partial");
    t.write(live, "keep");
    StagedFiles staged;
    staged.work(t.path("report.txt"));
    for (const auto& n : gone) EXPECT_FALSE(fs::exists(t.path(n))) << n;
    EXPECT_EQ(t.read(live), "keep");
}

// The sweep takes only working files of ended writers of this host, by their exact name:
// a writer on another computer sharing the folder keeps its files, and a user's file that
// merely looks like a working file (the older form, a name of the form with its check
// wrong or something after it, a cut name) stays.
TEST(StagedFiles, TheSweepTakesOnlyEndedWritersOfThisHostByTheirWholeName) {
    TempFolder t;
    const long dead = endedProcessId();
    const std::string ours = working::workingFileName("a.dat", working::hostName(), dead, 0);
    std::string wrongCheck = ours;
    wrongCheck[wrongCheck.size() - 5] = wrongCheck[wrongCheck.size() - 5] == '0' ? '1' : '0';
    const std::string longName(250, 'n');
    const std::string cut = working::workingFileName(longName, working::hostName(), dead, 0);
    std::string cutLookAlike = cut;
    cutLookAlike[3] = 'm';
    const std::vector<std::string> kept = {working::workingFileName("a.dat", "other-computer", dead, 0),
                                           ".a.dat.trelvik-" + std::to_string(dead) + "-0.tmp", wrongCheck,
                                           ours + ".bak", cutLookAlike};
    for (const auto& n : kept) t.write(n, "keep");
    t.write(ours, "partial");
    t.write(cut, "partial");
    writeFileAtomic(t.path("a.dat"), "new");
    EXPECT_FALSE(fs::exists(t.path(ours)));
    EXPECT_FALSE(fs::exists(t.path(cut)));
    for (const auto& n : kept) EXPECT_EQ(t.read(n), "keep") << n;
}


// A commit is all or none across a kill and a failed put-back too. Killed after its first
// rename, it is finished by the next writer in the folder; an old file that cannot be put
// back is named with the file its old content waits in, which no sweep takes, and it is
// put back by the next writer once it can be.
TEST(StagedFiles, ACommitCutShortIsFinishedOrUndoneByTheNextWriterInTheFolder) {
    TempFolder t;
    t.write("a.dat", "old a");
    t.write("c.dat", "old c");
    commitKilledAfter(t.dir(), 1);
    EXPECT_EQ(t.read("a.dat"), "new a");
    EXPECT_EQ(t.read("c.dat"), "old c");  // mixed, until the next writer in the folder
    writeFileAtomic(t.path("x.txt"), "x");
    for (const std::string name : {"a", "b", "c"}) EXPECT_EQ(t.read(name + ".dat"), "new " + name) << name;
    EXPECT_EQ(entries(t.dir()), 4u);

    t.write("a.dat", "old a");
    fs::remove(t.path("b.dat"));
    fs::remove(t.path("c.dat"));
    fs::create_directory(t.path("c.dat"));
    {
        StagedFiles staged;
        for (const std::string name : {"a.dat", "b.dat", "c.dat"}) writeFileAtomic(staged.work(t.path(name)), "new");
        pathOnHold = t.path("a.dat");
        working::afterCommitRename = holdWithAFolder;
        try {
            staged.commit();
            ADD_FAILURE() << "a folder in place of c.dat";
        } catch (const Error& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find("\"" + t.path("c.dat") + "\""), std::string::npos) << m;
            const std::size_t in = m.find("old \"" + t.path("a.dat") + "\" could not be put back");
            ASSERT_NE(in, std::string::npos) << m;
            const std::string where = "its old content is in \"";
            const std::size_t at = m.find(where, in) + where.size();
            EXPECT_EQ(readWholeFile(m.substr(at, m.find('"', at) - at)), "old a");
        }
        working::afterCommitRename = nullptr;
    }
    EXPECT_FALSE(fs::exists(t.path("b.dat")));
    writeFileAtomic(t.path("x.txt"), "y");  // the copy stays while a.dat is held
    fs::remove_all(t.path("a.dat"));
    writeFileAtomic(t.path("x.txt"), "z");
    EXPECT_EQ(t.read("a.dat"), "old a");
    EXPECT_EQ(entries(t.dir()), 3u);  // a.dat, the folder c.dat and x.txt
}

// Whatever is put at a target after the kill is the user's (a file saved over it, a link,
// a folder): finishing the commit leaves it and says so, and the rest of the commit goes
// forward whole.
TEST(StagedFiles, ACutCommitNeverReplacesAFileSavedSince) {
    const std::vector<std::function<void(const TempFolder&)>> puts = {
        [](const TempFolder& t) { t.write("c.dat", "saved since"); },  // in place, as a copy over it is
        [](const TempFolder& t) {
            fs::remove(t.path("c.dat"));
            fs::create_symlink(t.path("x.txt"), t.path("c.dat"));
        },
        [](const TempFolder& t) {
            fs::remove(t.path("c.dat"));
            fs::create_directory(t.path("c.dat"));
        },
    };
    for (std::size_t renamed = 0; renamed < 3; ++renamed)
        for (std::size_t put = 0; put < puts.size(); ++put) {
            TempFolder t;
            writeOld(t);
            t.write("x.txt", "saved since");
            commitKilledAfter(t.dir(), renamed);
            puts[put](t);
            const fs::file_status before = fs::symlink_status(t.path("c.dat"));
            working::takeSettleNotes();
            writeFileAtomic(t.path("y.txt"), "y");
            EXPECT_EQ(t.read("a.dat"), "new a") << renamed << put;
            EXPECT_EQ(t.read("b.dat"), "new b") << renamed << put;
            EXPECT_EQ(fs::symlink_status(t.path("c.dat")).type(), before.type()) << renamed << put;
            if (put < 2) EXPECT_EQ(t.read("c.dat"), "saved since") << renamed << put;
            EXPECT_EQ(entries(t.dir()), 5u) << renamed << put;
            const std::string notes = working::takeSettleNotes();
            EXPECT_NE(notes.find("\"c.dat\" was left as it was saved"), std::string::npos) << notes;
            EXPECT_NE(notes.find("a.dat and b.dat hold its new files"), std::string::npos) << notes;
        }
}

// A record names its files relative to its folder: a cut commit is finished in the folder
// moved since. One whose files are no longer the same (a copy of the folder, as a drive
// mounted anew gives other ids) is neither finished nor swept: every old content stays,
// and the note says where.
TEST(StagedFiles, ACutCommitSettlesInAMovedFolderAndKeepsWhatItCannotSettle) {
    for (std::size_t renamed = 0; renamed < 3; ++renamed) {
        TempFolder t;
        fs::create_directory(t.path("teeth"));
        for (const std::string name : {"a", "b", "c"}) t.write("teeth/" + name + ".dat", "old " + name);
        commitKilledAfter(t.path("teeth"), renamed);
        fs::copy(t.path("teeth"), t.path("copy"));
        fs::rename(t.path("teeth"), t.path("moved"));
        writeFileAtomic(t.path("moved/x.txt"), "x");
        for (const std::string name : {"a", "b", "c"}) EXPECT_EQ(t.read("moved/" + name + ".dat"), "new " + name);
        EXPECT_EQ(entries(t.path("moved")), 4u) << renamed;

        working::takeSettleNotes();
        const std::size_t copied = entries(t.path("copy"));
        writeFileAtomic(t.path("copy/x.txt"), "x");
        EXPECT_EQ(entries(t.path("copy")), copied + 1) << renamed;
        const std::string notes = working::takeSettleNotes();
        EXPECT_NE(notes.find("could not be finished or undone"), std::string::npos) << notes;
        EXPECT_NE(notes.find("is in \"" + t.path("copy/.")), std::string::npos) << notes;
        EXPECT_NE(notes.find("removing \"" + t.path("copy/.commit.trelvik-")), std::string::npos) << notes;
    }
}

// A step reads a folder only once its cut commits are settled, and its check that an
// input exists finds a new file that was still waiting under its working name.
TEST(StagedFiles, AStepReadsAFolderOnlyOnceItsCutCommitsAreSettled) {
    TempFolder t;
    writeOld(t);
    commitKilledAfter(t.dir(), 1);
    EXPECT_EQ(readWholeFile(t.path("c.dat")), "new c");
    commitKilledAfter(std::vector<fs::path>{t.path("d.dat")}, 0);
    EXPECT_TRUE(FileExists(t.path("d.dat")));
    // A results folder the program made there is settled with it.
    makeFolder(t.path("savol"), "Cannot create the results folder");
    writeOld(t, "savol/");
    commitKilledAfter(t.path("savol"), 1);
    EXPECT_TRUE(FileExists(t.path("c.dat")));
    for (const std::string name : {"a", "b", "c"}) EXPECT_EQ(t.read("savol/" + name + ".dat"), "new " + name);
}

namespace {
// Another settler claims the folder's record as the sweep lists the folder.
void claimTheRecord(const fs::path& dir) {
    working::afterSweepListing = nullptr;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (e.path().extension() != ".undo") continue;
        const std::string stem = name.substr(0, name.size() - 5);
        fs::rename(e.path(), dir / (working::stamped(stem + ".trelvik-", working::hostName(), getppid(), 0) + ".undo"));
    }
}
}  // namespace

// The old content of a file whose put-back failed waits in a kept copy that its ended
// writer's record names; the sweep of that writer's working files leaves it, also when
// another settler claims the record between the sweep's listing and its reading (the
// settler may need the copy to undo), and when the record, opened to the group, is not
// obeyed (what it names is then not known, so every file of its writer stays).
TEST(StagedFiles, TheSweepKeepsTheCopyAnEndedWritersRecordStillNames) {
    for (const int round : {0, 1, 2}) {
        const bool claimedAsItLists = round == 1;
        TempFolder t;
        t.write("a.dat", "old a");
        fs::create_directory(t.path("c.dat"));
        const pid_t child = fork();
        if (child == 0) {
            StagedFiles staged;
            for (const std::string name : {"a.dat", "c.dat"}) writeFileAtomic(staged.work(t.path(name)), "new");
            pathOnHold = t.path("a.dat");
            working::afterCommitRename = holdWithAFolder;
            try {
                staged.commit();
            } catch (const Error&) {
                _exit(0);
            }
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        if (claimedAsItLists) working::afterSweepListing = claimTheRecord;
        for (const auto& e : fs::directory_iterator(t.dir()))
            if (round == 2 && e.path().extension() == ".undo")
                fs::permissions(e.path(), fs::perms::group_write, fs::perm_options::add);
        writeFileAtomic(t.path("x.txt"), "x");
        working::afterSweepListing = nullptr;
        std::size_t copies = 0;
        for (const auto& e : fs::directory_iterator(t.dir()))
            if (e.is_regular_file() && e.path().extension() == ".tmp" && t.read(e.path().filename()) == "old a")
                ++copies;
        EXPECT_EQ(copies, 1u) << round;
    }
}

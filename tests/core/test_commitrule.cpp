// Whose commit records a step obeys: only its own user's, whole, through the folders it
// holds open. A record planted by someone sharing the folder, a file of another user
// named as a record or claim, a folder swapped for a link mid-settle, a pipe or a link
// named as a record: none reaches a file outside its folder or one the user did not make,
// nor stops the step, and each is named.
#include "core/fileroutines.h"
#include "core/commit/testhooks.h"
#include "core/commit/workingfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/inchild.h"
#include "support/killedcommits.h"
#include "support/plantedrecords.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;
using namespace trelvik;
using namespace trelvik::testing;

namespace {

constexpr uid_t kOtherUser = 65534;

// Renames a file named as a record between two names each time a settle lists its folder.
std::string flipA, flipB;
void flipTheirs(const fs::path&) {
    if (fs::exists(flipA)) fs::rename(flipA, flipB);
    else fs::rename(flipB, flipA);
}

} // namespace

// Records planted in a shared folder by someone else make no step there move, replace or
// delete a file outside the folder or a file the program did not make; each stays, and is
// named. A NUL in a name, which the checks see whole and a system call would cut, is
// refused, on the forward and the undo path, and an earlier run's absolute folder is walked
// through no link, the user's own included. A real commit across two folders still settles.
TEST(CommitRecords, APlantedRecordTouchesNothingAndIsNamed) {
    for (int planted = 0; planted < 7; ++planted) {
        TempFolder t;
        fs::create_directories(t.path("shared"));
        fs::create_directories(t.path("victim"));
        const fs::path shared = t.path("shared");
        for (const std::string name : {"thesis.txt", "notes.txt", "report.txt"}) t.write("victim/" + name, "mine");
        t.write("shared/grid.txt", "grid");
        t.write("shared/userfile.txt", "user's");
        const std::string planters = t.write("shared/p.txt", "planter's");
        const pid_t writer = endedProcessId();
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
        } else if (planted == 4) {
            const std::string fresh = working::workingFileName("t.txt", working::hostName(), writer, 1);
            t.write("shared/" + fresh, "planter's");
            name = plant(shared, ".commit", {{"t.txt", fresh, "", idOf(t.path("shared/" + fresh))}}, writer,
                         {".", std::string("../victim/report.txt\0", 21)});
        } else if (planted == 6) {  // with a copy in the folder the link leads to
            fs::create_directory_symlink(t.path("victim"), t.path("link"));
            const std::string fresh = working::workingFileName("thesis.txt", working::hostName(), writer, 1);
            name = plant(shared, ".undo", {{t.path("link/thesis.txt"), t.path("link/" + fresh), "",
                                            idOf(t.path("victim/thesis.txt"))}},
                         writer, {t.path("shared"), t.path("link")});
            fs::copy_file(shared / name, t.path("victim/" + name));
        } else {
            const std::string thesis = std::string("../victim/thesis.txt\0", 21);
            name = plant(shared, ".undo",
                         {{"stolen.txt", working::workingFileName("x", working::hostName(), writer, 0),
                           thesis + "/" + working::workingFileName("thesis.txt", working::hostName(), writer, 2)}},
                         writer, {".", thesis});
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

    TempFolder t;
    commitAcrossXAndYKilled(t);
    // A record of the user's elsewhere (a shared folder copied whole) that borrows this
    // commit's name and names X is not its copy: it touches nothing, X's record included.
    const std::string stem = recordStem(t.path("X"));
    const std::string stamp = stem.substr((".commit.trelvik-" + working::hostName() + "-").size());
    const pid_t realWriter = std::stoi(stamp.substr(0, stamp.find('-')));
    fs::create_directories(t.path("P"));
    t.write("P/readme.txt", "readme");
    const std::string borrowed = plant(t.path("P"), ".undo",
                                       {{"x", working::workingFileName("x", working::hostName(), realWriter, 99)}},
                                       realWriter, {".", "../X"});
    fs::rename(t.path("P/" + borrowed), t.path("P/" + stem + ".undo"));
    working::takeSettleNotes();
    EXPECT_EQ(readWholeFile(t.path("P/readme.txt")), "readme");
    EXPECT_EQ(records(t.path("X")), 1u);
    EXPECT_NE(working::takeSettleNotes().find("not the program's own"), std::string::npos);
    EXPECT_EQ(readWholeFile(t.path("Y/b.dat")), "new b");
    EXPECT_EQ(t.read("X/a.dat"), "new a");
    EXPECT_EQ(records(t.path("X")) + records(t.path("Y")), 0u);
}

// A record is obeyed only when nobody but the user could have written it. The user's own
// file that others may write, written into and linked under a record's name, a 0666 record,
// a 0664 record and a 0600 record with a second link (a file of the user's linked there by
// anyone who may write the folder), each asking to delete the user's file by its id, are
// left and named with their owner; and a record a step makes is the user's alone whatever
// the umask.
TEST(CommitRecords, ARecordOthersCouldHaveWrittenIsNotObeyed) {
    for (int round = 0; round < 4; ++round) {
        TempFolder t;
        const std::string thesis = t.write("thesis.txt", "mine");
        const pid_t writer = endedProcessId();
        const std::string name = plant(
            t.dir(), ".undo",
            {{"thesis.txt", working::workingFileName("thesis.txt", working::hostName(), writer, 1), "", idOf(thesis)}},
            writer);
        if (round == 0) {
            const std::string output = t.path("output.txt");
            fs::rename(t.path(name), output);
            fs::permissions(output, static_cast<fs::perms>(0666));
            fs::create_hard_link(output, t.path(name));
        } else if (round == 3) {
            fs::create_hard_link(t.path(name), t.path("output.txt"));
        } else {
            fs::permissions(t.path(name), static_cast<fs::perms>(round == 1 ? 0666 : 0664));
        }
        working::takeSettleNotes();
        EXPECT_TRUE(FileExists(thesis));
        const std::string notes = working::takeSettleNotes();
        EXPECT_EQ(t.read("thesis.txt"), "mine") << round << notes;
        EXPECT_TRUE(fs::exists(t.path(name))) << round;
        // Said with why it is passed over and what to do.
        const std::string why = round % 3 == 0 ? "it has a second link" : "your group or others may write it";
        EXPECT_NE(notes.find("\"" + t.path(name) + "\" is named as a record of a step of yours cut short here, but it is "
                             "not obeyed, as " + why),
                  std::string::npos)
            << round << notes;
        EXPECT_NE(notes.find("look at them, then remove \"" + t.path(name) + "\" to end this note."), std::string::npos)
            << notes;
    }
    for (const mode_t mask : {0000, 0002}) {
        TempFolder t;
        writeOld(t);
        const mode_t was = ::umask(mask);
        commitKilledAfter(t.dir(), 1);
        ::umask(was);
        struct stat st{};
        ASSERT_EQ(::stat(t.path(recordStem(t.dir()) + ".commit").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << mask;
    }
    // A disk without Unix permissions refuses the change of mode and shows every file as
    // its mount gives it, and (exFAT through FUSE) takes no links and cannot rename without
    // replacing: the commit goes on, and its record, which only the user may write, is
    // obeyed after a kill before any rename.
    working::changeRecordMode = [](int fd, mode_t) {
        ::fchmod(fd, 0755);
        errno = EPERM;
        return -1;
    };
    renameNoReplace = [](int, const char*, int, const char*) { return EINVAL; };
    for (std::size_t renamed = 0; renamed < 3; ++renamed) {
        TempFolder t;
        writeOld(t);
        commitKilledAfter(t.dir(), renamed);
        struct stat st{};
        ASSERT_EQ(::stat(t.path(recordStem(t.dir()) + ".commit").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0755u);
        // A settler killed after taking a claim's name with an empty file, before its
        // rename, left that file: it holds no commit and keeps none from settling.
        const std::string stem = recordStem(t.dir());
        for (unsigned long n = 0; n < 4; ++n)
            for (const std::string ext : {".commit", ".undo"})
                t.write(working::stamped(stem + ".trelvik-", working::hostName(), endedProcessId(), n) + ext, "");
        working::takeSettleNotes();
        EXPECT_TRUE(FileExists(t.path("a.dat")));
        for (const std::string name : {"a", "b", "c"}) EXPECT_EQ(t.read(name + ".dat"), "new " + name) << renamed;
        EXPECT_EQ(records(t.dir()), 0u) << renamed << working::takeSettleNotes();
    }
    working::changeRecordMode = nullptr;
    renameNoReplace = nullptr;
}

// A well-formed record of another user, and files of another user named as claims of the
// user's own cut commit, touch nothing and are named with their owner; the user's own
// commit still settles.
TEST(CommitRecords, AnotherUsersRecordOrClaimsAreNamedWithTheirOwnerAndTouchNothing) {
    if (::geteuid() != 0) GTEST_SKIP() << "staging files of another user needs root";
    TempFolder t;
    fs::permissions(t.dir(), fs::perms::all);
    const std::string user = t.write("userfile.txt", "user's");
    const pid_t writer = endedProcessId();
    const std::string fresh = working::workingFileName("userfile.txt", working::hostName(), writer, 1);
    t.write(fresh, "planter's");
    const std::string name = plant(
        t.dir(), ".commit", {{"userfile.txt", fresh, "", idOf(t.path(fresh)), idOf(user), sizeOf(user), timeOf(user)}},
        writer);
    for (const std::string& f : {t.path(fresh), t.path(name)}) ASSERT_EQ(::chown(f.c_str(), kOtherUser, kOtherUser), 0);
    writeOld(t);
    commitKilledAfter(t.dir(), 1);
    std::string stem = recordStem(t.dir(), name);
    ASSERT_FALSE(stem.empty());
    // At the very names this process would claim the record under next.
    const std::string probe = fs::path(working::newName(t.path("x"))).filename().string();
    const std::string pid = "-" + std::to_string(::getpid()) + "-";
    const unsigned long next = std::stoul(probe.substr(probe.find(pid, probe.find(".trelvik-")) + pid.size())) + 1;
    std::vector<std::string> claims;
    for (unsigned long n = next; n < next + 20; ++n) {
        claims.push_back(working::stamped(stem + ".trelvik-", working::hostName(), ::getpid(), n) + ".commit");
        t.write(claims.back(), "junk");
        ASSERT_EQ(::chown(t.path(claims.back()).c_str(), kOtherUser, kOtherUser), 0);
    }
    working::takeSettleNotes();
    EXPECT_EQ(readWholeFile(t.path("c.dat")), "new c");
    EXPECT_EQ(t.read("a.dat"), "new a");
    EXPECT_EQ(t.read("b.dat"), "new b");
    EXPECT_EQ(t.read("userfile.txt"), "user's");
    EXPECT_EQ(t.read(fresh), "planter's");
    // Named once a step: a file of theirs met at a later file check of the step adds nothing.
    const std::string later = t.write(working::stamped(".commit.trelvik-", working::hostName(), writer, 7) + ".commit", "x");
    ASSERT_EQ(::chown(later.c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_TRUE(FileExists(t.path("a.dat")));
    const std::string notes = working::takeSettleNotes();
    for (const std::string& left : claims) EXPECT_EQ(t.read(left), "junk") << left;
    EXPECT_TRUE(fs::exists(t.path(name)));
    claims.push_back(name);
    const std::string said = "A step of " + ownerName(kOtherUser) + "'s run was cut short here: its files may be part "
                             "new, part old; removing \"" + t.path(*std::min_element(claims.begin(), claims.end())) + "\"";
    EXPECT_NE(notes.find(said), std::string::npos) << notes;
    EXPECT_NE(notes.find(" and " + ownerName(kOtherUser) + "'s 20 other files named as records there ends this note."),
              std::string::npos)
        << notes;
    EXPECT_EQ(notes.find("A step of", notes.find(said) + 1), std::string::npos) << "said once: " << notes;
    EXPECT_EQ(notes.find("cannot be written"), std::string::npos) << notes;

    // A record undone but for a file it could not put back is not left under a name that
    // holds another user's file: it keeps its claim, and the note names that.
    TempFolder u;
    fs::permissions(u.dir(), fs::perms::all);
    writeOld(u);
    commitKilledAfter(u.dir(), 2);
    fs::remove(workingFileOf(u, "c.dat", "new c"));
    fs::rename(u.write("copy", "old a"), workingFileOf(u, "a.dat", "old a"));  // not the copy the commit made
    stem = recordStem(u.dir());
    const std::string theirs = u.write(stem + ".undo", "theirs");
    ASSERT_EQ(::chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
    working::takeSettleNotes();
    readWholeFile(u.path("b.dat"));
    const std::string undone = working::takeSettleNotes();
    EXPECT_EQ(u.read(stem + ".undo"), "theirs");
    EXPECT_NE(undone.find("could not be finished or undone"), std::string::npos) << undone;
    EXPECT_EQ(undone.find("Once that is seen to, removing \"" + theirs), std::string::npos) << undone;
    EXPECT_NE(undone.find("Once that is seen to, removing \"" + u.path(stem + ".trelvik-")), std::string::npos) << undone;

    // A file of theirs that goes as it is met (renamed at every listing here) keeps no step
    // waiting: only a copy of the user's own that goes was taken by a settler at work.
    TempFolder v;
    flipA = v.write(working::stamped(".commit.trelvik-", working::hostName(), writer, 0) + ".commit", "x");
    flipB = v.path(working::stamped(".commit.trelvik-", working::hostName(), writer, 1) + ".commit");
    ASSERT_EQ(::chown(flipA.c_str(), kOtherUser, kOtherUser), 0);
    v.write("grid.txt", "grid");
    working::takeSettleNotes();
    working::afterSettleListing = flipTheirs;
    EXPECT_EQ(readWholeFile(v.path("grid.txt")), "grid");
    working::afterSettleListing = nullptr;
    const std::string flipped = working::takeSettleNotes();
    EXPECT_EQ(flipped.find("did not end within"), std::string::npos) << flipped;
}

// Names planted ahead for the settler's own process, 3000 claims of each kind at the names
// a count would give next, keep no cut commit from settling: a claim's name holds a part
// no one can foresee.
TEST(CommitRecords, ClaimNamesPlantedAheadKeepNoCommitFromSettling) {
    if (::geteuid() != 0) GTEST_SKIP() << "staging files of another user needs root";
    TempFolder t;
    writeOld(t);
    commitKilledAfter(t.dir(), 1);
    const std::string stem = recordStem(t.dir());
    const std::string probe = fs::path(working::newName(t.path("x"))).filename().string();
    const std::string pid = "-" + std::to_string(::getpid()) + "-";
    const unsigned long next = std::stoul(probe.substr(probe.find(pid, probe.find(".trelvik-")) + pid.size())) + 1;
    for (unsigned long n = next; n < next + 3000; ++n)
        for (const std::string ext : {".commit", ".undo"}) {
            const std::string planted =
                t.write(working::stamped(stem + ".trelvik-", working::hostName(), ::getpid(), n) + ext, "planted");
            ASSERT_EQ(::chown(planted.c_str(), kOtherUser, kOtherUser), 0);
        }
    working::takeSettleNotes();
    EXPECT_EQ(readWholeFile(t.path("c.dat")), "new c");
    EXPECT_EQ(t.read("a.dat"), "new a");
    EXPECT_EQ(t.read("b.dat"), "new b");
    EXPECT_EQ(records(t.dir()), 6000u);
}

// Another user's claim of a settle under way is named once with its owner, and a name from
// the folder reaches the note as a record's names do: no newline or escape sequence of it.
TEST(CommitRecords, AnotherUsersLiveClaimIsNamedWithItsOwnerAndShownSafely) {
    if (::geteuid() != 0) GTEST_SKIP() << "staging files of another user needs root";
    TempFolder t;
    t.write("grid.txt", "grid");
    const std::string record = working::stamped(".commit.trelvik-", "lab\n\x1b[2J", endedProcessId(), 0);
    const std::string claim =
        t.write(working::stamped(record + ".trelvik-", working::hostName(), ::getppid(), 0) + ".commit", "theirs");
    ASSERT_EQ(::chown(claim.c_str(), kOtherUser, kOtherUser), 0);
    working::takeSettleNotes();
    EXPECT_EQ(readWholeFile(t.path("grid.txt")), "grid");
    EXPECT_TRUE(FileExists(t.path("grid.txt")));
    const std::string notes = working::takeSettleNotes();
    std::string shown = claim;
    std::replace_if(shown.begin(), shown.end(), [](char c) { return c == '\n' || c == '\x1b'; }, '?');
    const std::string said = "A step of " + ownerName(kOtherUser) + "'s run was cut short here: its files may be part "
                             "new, part old; removing \"" + shown + "\" ends this note.";
    EXPECT_NE(notes.find(said), std::string::npos) << notes;
    EXPECT_EQ(notes.find(said, notes.find(said) + 1), std::string::npos) << "said once: " << notes;
    EXPECT_EQ(notes.find_first_of("\n\x1b"), std::string::npos) << notes;
}

// A folder exchanged for a link into the user's private folder while a settle of many
// entries runs changes nothing there: the settle ends whole in the folder it opened.
TEST(CommitRecords, AFolderSwappedForALinkMidSettleChangesNothingOutsideTheOneHeld) {
    constexpr int kEntries = 200;
    for (int round = 0; round < 5; ++round) {
        TempFolder t;
        fs::create_directories(t.path("shared/sub"));
        fs::create_directories(t.path("private"));
        const pid_t writer = endedProcessId();
        std::vector<Entry> entries;
        for (int i = 0; i < kEntries; ++i) {
            const std::string target = "f" + std::to_string(i) + ".dat";
            const std::string fresh = working::workingFileName(target, working::hostName(), writer, i + 1);
            t.write("private/" + target, "private");
            t.write("private/" + fresh, "planted");
            t.write("shared/sub/" + target, "old");
            t.write("shared/sub/" + fresh, "new");
            entries.push_back({target, fresh, "", idOf(t.path("shared/sub/" + fresh)), idOf(t.path("shared/sub/" + target))});
        }
        plant(t.path("shared/sub"), ".commit", entries, writer);
        std::atomic<bool> swapped{false}, settled{false};
        std::thread racer([&] {
            while (!swapped && !settled) {
                DIR* d = ::opendir(t.path("shared/sub").c_str());
                bool claimed = false;
                while (const dirent* e = d ? ::readdir(d) : nullptr)
                    claimed = claimed || std::string(e->d_name).find(".trelvik-", 20) != std::string::npos;
                if (d) ::closedir(d);
                if (claimed && ::rename(t.path("shared/sub").c_str(), t.path("shared/held").c_str()) == 0) {
                    fs::create_directory_symlink(t.path("private"), t.path("shared/sub"));
                    swapped = true;
                }
            }
        });
        working::settleFolder(t.path("shared/sub"));
        settled = true;
        racer.join();
        working::takeSettleNotes();
        for (int i = 0; i < kEntries; ++i) {
            const std::string target = "f" + std::to_string(i) + ".dat";
            ASSERT_EQ(t.read("private/" + target), "private") << round << " " << i;
            if (swapped) ASSERT_EQ(t.read("shared/held/" + target), "new") << round << " " << i;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(t.path("private")), fs::directory_iterator()), 2 * kEntries);
        if (swapped) EXPECT_EQ(records(t.path("shared/held")), 0u) << round;
    }
}

// A pipe named as a record is not waited on, a link named as one not followed (here to a
// file without end): the step reads its file at once, and each is named.
TEST(CommitRecords, ARecordThatIsAPipeOrALinkIsNamedWithoutWaitingOrFollowingIt) {
    TempFolder t;
    t.write("grid.txt", "grid");
    const pid_t writer = endedProcessId();
    const std::string pipe = t.path(working::stamped(".commit.trelvik-", working::hostName(), writer, 0) + ".commit");
    const std::string link = t.path(working::stamped(".commit.trelvik-", working::hostName(), writer, 1) + ".commit");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    fs::create_symlink("/dev/zero", link);
    const auto [status, said] = inChild([&t] {
        ::alarm(20);  // a step that hangs fails here rather than holding up the run
        std::string read = FileExists(t.path("grid.txt")) ? readWholeFile(t.path("grid.txt")) : "missing";
        return read + "|" + working::takeSettleNotes();
    });
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(said.substr(0, said.find('|')), "grid");
    for (const std::string& named : {pipe, link}) {
        EXPECT_NE(said.find("\"" + named + "\" is named as a record of a step cut short, but it is not the program's own "
                            "(it is not a plain file)"),
                  std::string::npos)
            << said;
        EXPECT_TRUE(fs::exists(fs::symlink_status(named)));
    }
}

// The one way to a file: links, someone else's and the user's own, on the way to what a
// step reads, saves and makes, and names changed while they are opened.
#include "core/fileroutines.h"
#include "core/commit/testhooks.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/tempfolder.h"

namespace fs = std::filesystem;
using namespace trelvik;
using trelvik::testing::TempFolder;

using trelvik::testing::entries;

// Links someone sharing the folder puts under the names a write is about to make its
// working file with are passed over: none is written through, the file they point at keeps
// its bytes and permissions, and the output is a plain file with its own.
TEST(FileRoutines, LinksPlantedUnderWorkingNamesAreNeverWrittenThrough) {
    TempFolder t;
    static std::string victim;
    static int planted;
    victim = t.write("notes.txt", "private");
    planted = 0;
    fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
    const std::string out = t.write("out.csv", "old");
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    beforeWorkingFileMade = [](const std::string& name) {
        if (planted < 3000 && ::symlink(victim.c_str(), name.c_str()) == 0) ++planted;
    };
    writeFileAtomic(out, "new");
    beforeWorkingFileMade = nullptr;
    EXPECT_EQ(planted, 3000);
    EXPECT_EQ(t.read("notes.txt"), "private");
    EXPECT_EQ(fs::status(victim).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(out)));
    EXPECT_EQ(t.read("out.csv"), "new");
    EXPECT_EQ(fs::status(out).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
}

// A save goes through a link at its name only when the link is the user's own: another
// user's is refused, naming the link and its owner, and nothing is written. The same holds
// for a link to a folder anywhere on the way, for a read, a save and a folder the program
// makes, except where only that user may write the folder the link stands in. A replaced
// file of another user's keeps none of that user's permissions.
TEST(FileRoutines, ASaveFollowsOnlyTheUsersOwnLinks) {
    if (::geteuid() != 0) GTEST_SKIP() << "a link of another user needs root";
    TempFolder t;
    const std::string notes = t.write("notes.txt", "private");
    const std::string digit = t.path("digit.dat");
    fs::create_symlink(notes, digit);
    ASSERT_EQ(::lchown(digit.c_str(), 65534, 65534), 0);
    const struct passwd* pw = ::getpwuid(65534);
    const std::string owner = pw ? pw->pw_name : "user 65534";
    try {
        writeFileAtomic(digit, "1,2\r\n");
        FAIL() << "written through another user's link";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + digit + "\""), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("(" + owner + ")"), std::string::npos) << e.what();
    }
    EXPECT_EQ(t.read("notes.txt"), "private");
    EXPECT_TRUE(fs::is_symlink(digit));
    EXPECT_EQ(entries(t.dir()), 2u);

    ASSERT_EQ(::lchown(digit.c_str(), ::geteuid(), ::getegid()), 0);
    writeFileAtomic(digit, "1,2\r\n");
    EXPECT_EQ(t.read("notes.txt"), "1,2\r\n");
    EXPECT_TRUE(fs::is_symlink(digit));

    // Another user's link to a private folder of the user's, in a folder anyone may write.
    fs::create_directories(t.path("private/savol"));
    fs::permissions(t.path("private"), fs::perms::owner_all);
    const std::string stats = t.write("private/savol/Bsavolstats.csv", "mine\r\n");
    fs::create_directory(t.path("shared"));
    fs::permissions(t.path("shared"), fs::perms::all);
    const std::string study = t.path("shared/study");
    fs::create_symlink(t.path("private"), study);
    ASSERT_EQ(::lchown(study.c_str(), 65534, 65534), 0);
    const auto refused = [&](const std::function<void()>& step) {
        try {
            step();
            return std::string("done");
        } catch (const Error& e) {
            return std::string(e.what());
        }
    };
    for (const std::string& e : {refused([&] { readWholeFile(study + "/savol/Bsavolstats.csv"); }),
                                 refused([&] { writeFileAtomic(study + "/savol/Bsavolstats.csv", "theirs\r\n"); }),
                                 refused([&] { appendFileAtomic(study + "/savol/00savolstats.csv", "row\r\n"); }),
                                 refused([&] { makeFolder(study + "/savol/run", "Cannot create the results folder"); })})
        EXPECT_NE(e.find("\"" + study + "\" is a link of another user (" + owner + ")"), std::string::npos) << e;
    EXPECT_EQ(t.read("private/savol/Bsavolstats.csv"), "mine\r\n");
    EXPECT_EQ(entries(t.path("private/savol")), 1u);
    std::string why;
    EXPECT_EQ(judgeInput(stats, why), InputState::Readable);
    EXPECT_EQ(judgeInput(study + "/savol/Bsavolstats.csv", why), InputState::Refused);
    EXPECT_EQ(judgeInput(t.path("private/savol"), why), InputState::Refused);
    EXPECT_NE(why.find("it is a folder"), std::string::npos) << why;
    EXPECT_EQ(judgeInput(t.path("private/none.grd"), why), InputState::Missing);
    EXPECT_NE(saveRefusal(study + "/savol/x.csv"), "");
    EXPECT_EQ(saveRefusal(t.path("private/savol/x.csv")), "");

    // A colleague's link in a folder only that colleague may write is followed, as before.
    fs::create_directory(t.path("colleague"));
    const std::string theirs = t.path("colleague/study");
    fs::create_symlink(t.path("private"), theirs);
    ASSERT_EQ(::lchown(theirs.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(t.path("colleague").c_str(), 65534, 65534), 0);
    EXPECT_EQ(readWholeFile(theirs + "/savol/Bsavolstats.csv"), "mine\r\n");

    // A file of another user's that anyone may write is replaced by one with the user's
    // usual permissions, not with those.
    const std::string open = t.write("shared/open.csv", "theirs\r\n");
    ASSERT_EQ(::chown(open.c_str(), 65534, 65534), 0);
    fs::permissions(open, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
    const mode_t mask = ::umask(022);
    ::umask(mask);
    writeFileAtomic(open, "mine\r\n");
    struct stat st{};
    ASSERT_EQ(::stat(open.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask);

    // Why a save cannot be made, in the user's words.
    EXPECT_NE(refused([&] { writeFileAtomic(t.path(".."), "x"); }).find("it names a folder"), std::string::npos);
    fs::create_directory(t.path("sticky"));
    fs::permissions(t.path("sticky"), fs::perms::all | fs::perms::sticky_bit);
    const std::string mine = t.write("sticky/table.csv", "root's\r\n");
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    if (const pid_t child = ::fork(); child == 0) {  // another user, saving over the file
        std::string said = ::setgid(65534) == 0 && ::setuid(65534) == 0 ? refused([&] { writeFileAtomic(mine, "x"); })
                                                                        : "no other user";
        [[maybe_unused]] const ssize_t n = ::write(fds[1], said.data(), said.size());
        ::_exit(0);
    } else {
        ::close(fds[1]);
        char buf[512] = {};
        [[maybe_unused]] const ssize_t n = ::read(fds[0], buf, sizeof buf - 1);
        ::close(fds[0]);
        ::waitpid(child, nullptr, 0);
        EXPECT_NE(std::string(buf).find("in a folder where only a file's owner may replace or remove it"),
                  std::string::npos)
            << buf;
    }
    EXPECT_EQ(t.read("sticky/table.csv"), "root's\r\n");
    t.write("shared/run", "a file");
    EXPECT_NE(refused([&] { makeFolder(t.path("shared/run"), "Cannot create the results folder"); })
                  .find("Cannot create the results folder: a file of that name is in its place"),
              std::string::npos);
}

// A name someone else swaps back and forth between a plain file and a link to a private
// file of the user's, while the user reads it, gives the plain file or a refusal, never
// the private file.
TEST(FileRoutines, AReadOpensOnlyTheFileItJudged) {
    if (::geteuid() != 0) GTEST_SKIP() << "a link of another user needs root";
    TempFolder t;
    const std::string secret = t.write("secret.txt", "private");
    fs::create_directory(t.path("shared"));
    fs::permissions(t.path("shared"), fs::perms::all);
    const std::string name = t.path("shared/swap.dat");
    t.write("shared/swap.dat", "public");
    std::atomic<bool> stop{false};
    std::thread racer([&] {
        const std::string link = t.path("shared/l.tmp"), plain = t.path("shared/p.tmp");
        while (!stop) {
            ::symlink(secret.c_str(), link.c_str());
            ::lchown(link.c_str(), 65534, 65534);
            ::rename(link.c_str(), name.c_str());
            std::ofstream(plain) << "public";
            ::rename(plain.c_str(), name.c_str());
        }
    });
    int leaked = 0, read = 0;
    for (int i = 0; i < 5000; ++i) {
        try {
            const std::string got = readWholeFile(name);
            ++read;
            if (got == "private") ++leaked;
        } catch (const Error&) {
        }
    }
    stop = true;
    racer.join();
    EXPECT_EQ(leaked, 0);
    EXPECT_GT(read, 0);
}

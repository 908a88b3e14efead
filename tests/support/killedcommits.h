#pragma once
// Commits cut short by a kill, for the tests of how the next step settles them.
//
//  commitKilledAfter(targets, renamed)  a step in another process that replaces every
//                    target together (new content "new <stem>") and is stopped, as a kill
//                    would stop it, once `renamed` of them are in place.
//  commitKilledAfter(dir, renamed)      the same for a.dat, b.dat and c.dat of dir.
//  writeOld(folder)  a.dat, b.dat and c.dat holding "old <stem>".
//  commitAcrossXAndYKilled(t)  X/a.dat and Y/b.dat of t holding "old a" and "old b",
//                    replaced together by a step killed once X/a.dat is in place.
//  holdWithAFolder   a commit hook that puts a folder at pathOnHold after the first rename.
#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/commit/testhooks.h"
#include "core/commit/workingfiles.h"

#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "support/tempfolder.h"

namespace trelvik::testing {

inline std::string pathOnHold;
inline void holdWithAFolder(std::size_t renamed) {
    if (renamed != 1) return;
    std::filesystem::remove(pathOnHold);
    std::filesystem::create_directories(std::filesystem::path(pathOnHold) / "inside");
}

inline std::size_t killAt;
inline void killThere(std::size_t renamed) {
    if (renamed == killAt) _exit(0);
}

inline void commitKilledAfter(const std::vector<std::filesystem::path>& targets, std::size_t renamed) {
    killAt = renamed;
    const pid_t child = fork();
    if (child == 0) {
        StagedFiles staged;
        for (const auto& target : targets)
            writeFileAtomic(staged.work(target.string()), "new " + target.stem().string());
        working::afterCommitRename = killThere;
        staged.commit();
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

inline void commitKilledAfter(const std::filesystem::path& dir, std::size_t renamed) {
    commitKilledAfter({dir / "a.dat", dir / "b.dat", dir / "c.dat"}, renamed);
}

inline void writeOld(const TempFolder& t, const std::string& folder = "") {
    for (const std::string name : {"a", "b", "c"}) t.write(folder + name + ".dat", "old " + name);
}

inline void commitAcrossXAndYKilled(const TempFolder& t) {
    std::filesystem::create_directories(t.path("X"));
    std::filesystem::create_directories(t.path("Y"));
    t.write("X/a.dat", "old a");
    t.write("Y/b.dat", "old b");
    commitKilledAfter(std::vector<std::filesystem::path>{t.path("X/a.dat"), t.path("Y/b.dat")}, 1);
}

} // namespace trelvik::testing

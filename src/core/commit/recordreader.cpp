// Whose commit records a step obeys (core/commit/workingfiles.h), decided here and nowhere
// else. Anyone who may write a shared folder may put a file there named as a record, link
// a file of the user's there under a record's name, or write into a file of the user's
// that others may write; and a record's checks see only what it says. So a record is
// obeyed only when nobody but the user could have written it: the user's own regular
// file, with one link, that neither group nor others may write, as every record a step
// makes is. Who may read it does not matter: a disk without Unix permissions shows every
// file as its mount says (0755, say), and its records are obeyed all the same. The files a record so obeyed names are the ones its writer made or kept, and are
// renamed or removed by their ids whoever owns them (core/commit/commitundo.cpp).
#include "core/commit/workingfiles_detail.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace trelvik::working::detail {

bool obeyed(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_nlink == 1 && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string whyNotObeyed(const struct stat& st) {
    if (st.st_uid != ::geteuid()) return "it is another user's";
    if (!S_ISREG(st.st_mode)) return "it is not a plain file";
    if (st.st_nlink > 1) return "it has a second link, which anyone who may write its folder could have made";
    return "your group or others may write it";
}

bool obeyedIn(const HeldFolder& folder, std::string_view name) {
    struct stat st{};
    return folder.stat(name, st) && obeyed(st);
}

Found readRecordIn(const HeldFolder& dir, std::string_view name, ReadRecord& r, std::string& why, struct stat& st) {
    why.clear();
    // Looked at before it is opened: a pipe is never waited on, a link never followed.
    if (!dir.stat(name, st)) return Found::Gone;
    if (st.st_uid != ::geteuid()) return Found::NotTheUsersAlone;
    if (!S_ISREG(st.st_mode)) why = "it is not a plain file";
    else if (static_cast<std::uint64_t>(st.st_size) > kLargestRecord) why = "it is larger than any record a step writes";
    if (!why.empty()) return Found::NotARecordFile;
    if (!obeyed(st)) return Found::NotTheUsersAlone;
    struct stat opened{};
    const int fd = dir.openChecked(name, st, opened);
    if (fd < 0 && errno == ENOENT) return Found::Gone;
    if (fd < 0 && errno != ESTALE) return why = "it cannot be read", Found::NotARecordFile;
    if (fd >= 0 && opened.st_nlink == 0) {  // removed as it was opened, by the settler that finished it
        ::close(fd);
        return Found::Gone;
    }
    std::string data;
    if (fd >= 0 && obeyed(opened)) {
        data.resize(std::min<std::uint64_t>(static_cast<std::uint64_t>(opened.st_size), kLargestRecord) + 1);
        std::size_t have = 0;
        for (ssize_t n; have < data.size() && (n = ::read(fd, data.data() + have, data.size() - have)) != 0;) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) break;
            have += static_cast<std::size_t>(n);
        }
        data.resize(have);
    } else {
        why = "it changed as it was opened";
    }
    if (fd < 0) return Found::NotARecordFile;
    ::close(fd);
    if (!why.empty()) return Found::NotARecordFile;
    st = opened;
    return parseRecord(data, r, why) ? Found::Read : Found::CutShort;
}

} // namespace trelvik::working::detail

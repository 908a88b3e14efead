#pragma once
// The commit: the files a step writes, put in place together, all old or all new, also
// across a kill. The writer's half is here and in core/commit/commitwriter.cpp; the settle
// of a commit cut short, its records and their rule are the rest of this folder
// (core/commit/workingfiles.h). The plain file routines it builds on are core/fileroutines.h.
//
//  commitTogether     replaces two files as a pair: both are complete on disk before
//                     either is renamed, so a failed write leaves both old files; a
//                     failed rename or a kill too, as for StagedFiles.
//  StagedFiles        the files a step replaces, written first under working names beside
//                     them (work()), by the step itself or by the mapping program's calls;
//                     commit() puts them all in place once every check has passed, all
//                     or none, also across a kill: each file it replaces is kept under a
//                     working name, and a record of the commit (each target, its new file
//                     and its kept old file) is written and synced beside them before the
//                     first rename. When a rename cannot be made (a folder in its place,
//                     say) the files renamed before it get their old files back (or go,
//                     where there was none); one that cannot be put back is named in the
//                     message with the file its old content waits in, and the record stays
//                     so that copy is kept. A commit cut short by a kill is finished by the
//                     next writer in the folder: rolled forward when every new file is in
//                     place or waiting, undone otherwise. A step that ends before commit(),
//                     or whose commit() fails, leaves the earlier run's files as they were,
//                     and its working files are removed.
#include "core/fileroutines.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik {

// Finishes both writers, then renames both; when either cannot be finished or renamed,
// both temporaries go and both old files stay as they were.
void commitTogether(AtomicTextWriter& first, AtomicTextWriter& second);

class StagedFiles {
public:
    // The working name that stands for `path` until commit() (the same one when asked again).
    const std::string& work(const std::string& path);
    // Writes path's present content with text appended, as appendFileAtomic does, under
    // its working name; once for each file of a set.
    void append(const std::string& path, std::string_view text);
    // Renames every working file over the file it stands for, or, throwing
    // trelvik::Error naming the file that could not be put in place, none.
    void commit();
    // `text` with every working name of these files replaced by the name it stands for.
    std::string realNames(std::string text) const;
    // Runs `call` (a grid program call on working files); a trelvik::Error it throws is
    // thrown again naming the files the user knows rather than their working names.
    template <typename Call> void naming(Call&& call) const {
        try {
            call();
        } catch (const Stopped&) {
            throw;  // Esc stays Esc, so the step says it stopped rather than failed
        } catch (const Refusal& e) {
            throw Refusal(e.title(), realNames(e.what()));
        } catch (const Error& e) {
            throw Error(realNames(e.what()));
        }
    }

private:
    std::vector<std::unique_ptr<ReplacementFile>> files_;
};

} // namespace trelvik

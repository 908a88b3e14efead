#pragma once
// XYZ text and files shared by the "Surfer Functions" regridding, extraction and
// blanking procedures.
//
//  PrivateTempFile    a fresh file name in the system's temporary folder, owned by one
//                     procedure and removed when the object goes: the mapping program's
//                     XYZ dumps that are only read back land there, never on a name the
//                     user may hold (a grid's "digit.dat" or its scanner ".txt").
//  keepUnblanked      the records of an XYZ dump with z below 1E+37 (blank nodes, held
//                     as 1.70141E+38, are dropped), in file order.
//  writeUnblankedXyz  reads an XYZ dump and replaces `outPath` with its unblanked
//                     records as "x,y,z" lines (numbers bare in the general form, CR LF);
//                     returns the records written.
//  copyFileReplacing  copies a file's bytes over another through a temporary file beside
//                     the target, so a failed copy leaves the old target whole.
//  removeQuietly      deletes a file if it is there; never throws.
//  CallSurferPositional  one operation in the positional form on both versions (the
//                     calls that version 8 also receives by position), each version with
//                     its own argument list; another version token issues nothing and
//                     returns false.
//  DelCharStem        a path less its last d characters for d typed in a "Del. no. char."
//                     box: d is the typed number, the kept length rounded halves to even.
//                     Returns nothing when d is negative or larger than the base name, so
//                     the cut never reaches into the folder.
#include "core/points.h"
#include "surferfns/surffnsstate.h"

#include <optional>
#include <string>

namespace trelvik::surffns {

class PrivateTempFile {
public:
    explicit PrivateTempFile(const std::string& extension = ".dat");
    ~PrivateTempFile();
    PrivateTempFile(const PrivateTempFile&) = delete;
    PrivateTempFile& operator=(const PrivateTempFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

PointList keepUnblanked(const PointList& records);
std::size_t writeUnblankedXyz(const std::string& dumpPath, const std::string& outPath);

void copyFileReplacing(const std::string& from, const std::string& to);
void removeQuietly(const std::string& path);

bool CallSurferPositional(SurfFnsContext& ctx, const std::string& operation, const surfer::Positional& v6,
                          const surfer::Positional& v8);

std::optional<std::string> DelCharStem(const std::string& pathNoExt, const std::string& baseName,
                                       const std::string& typedD);

} // namespace trelvik::surffns

#pragma once
// The registry of the stand-in's grid operations. Each operation declares its argument
// names once; both call forms resolve through that table:
//   - named calls match names case-insensitively (callers write `XCol` and `yCol`);
//   - positional calls take the names in order: `positional6` on a version-6 instance,
//     `names` (the version-8 order) on a version-8 instance.
// A name listed in `positional6` but not in `names` is a version-6-only slot. Too many
// positions, an unknown name, a name given twice or a missing required argument throws
// trelvik::Error naming the operation. Behind both forms sits one `run`.
//
// Adding an operation: write a register function that fills an OperationSpec and add
// it to registerBuiltinOperations (operations.cpp).
#include "surfer/callargs.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace surfer {

class Application;

struct OperationSpec {
    std::string name;
    std::vector<std::string> names;        // every named argument, in version-8 order
    std::vector<std::string> positional6;  // version-6 order; empty = the same as names
    std::vector<std::string> required;
    std::function<void(Application&, const Args&)> run;
};

class OperationRegistry {
public:
    void add(OperationSpec spec);
    // nullptr when no operation has this name (names compare case-insensitively).
    const OperationSpec* find(const std::string& name) const;
    std::vector<std::string> list() const;

    Args resolve(const OperationSpec& op, const Positional& call, int version) const;
    Args resolve(const OperationSpec& op, const Named& call) const;

private:
    std::map<std::string, OperationSpec> ops_;  // key: lower-case name
};

// The registry every instance uses, filled with the built-in operations on first use.
OperationRegistry& operations();

// Register functions of the built-in operations (one per operation file).
void registerGridConvert(OperationRegistry&);
void registerGridBlank(OperationRegistry&);
void registerGridExtract(OperationRegistry&);
void registerGridTransform(OperationRegistry&);
void registerGridMath(OperationRegistry&);
void registerGridVolume(OperationRegistry&);
void registerGridSlice(OperationRegistry&);
void registerGridResiduals(OperationRegistry&);
// Gridding, calculus and filters (griddataoperation.cpp, gridcalculusoperation.cpp,
// gridfilteroperation.cpp).
void registerGridData(OperationRegistry&);
void registerGridCalculus(OperationRegistry&);
void registerGridFilter(OperationRegistry&);
void registerGridMatrixSmooth(OperationRegistry&);
// Version-6 map calls on the active plot document (plotcalls6.cpp).
void registerPlotCalls(OperationRegistry&);

} // namespace surfer

#pragma once
// Crest and cusp names with the short codes that go into output file names.
//
// The tooth-feature windows measure one crest or one cusp at a time. The user picks
// an anatomical name from a drop-down list; the name selects a short lower-case
// code, and the code becomes part of every output file name, so the outputs for
// several crests or cusps of one tooth stand side by side in the grid's folder.
//
// Two fixed tables, offered in the drop-down lists in table order:
//   crest table  twelve crests, "Preparacrista" (prpac) to "Postmetacristid" (pmcd),
//                used by the curvature, crest and rake windows;
//   cusp table   eight cusps, "Paracone" (pa) to "Hypoconid" (hyd), used by the
//                cusp volume window.
// Lookup compares the list's text with the names exactly (case and blanks count);
// the first equal name gives its code. A text that matches no name leaves the
// window's code as it was (empty in a fresh window), so a step that names its files by
// the code first checks that the list shows the name of that code (nameRefusal).
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::toothfeatures {

struct FeatureName {
    std::string_view name;
    std::string_view code;
};

// The tables in list order.
std::span<const FeatureName> crestTable();
std::span<const FeatureName> cuspTable();

// The names in list order, as a window fills its Combo1.
std::vector<std::string> crestNames();
std::vector<std::string> cuspNames();

// The code of `text` in `table`, or nothing when no name equals it.
std::optional<std::string> lookupCode(std::span<const FeatureName> table, std::string_view text);
std::optional<std::string> crestCode(std::string_view text);
std::optional<std::string> cuspCode(std::string_view text);

// A click on the name list: sets `code` when `text` is one of the table's names and
// leaves it otherwise. Returns the caption of the code label, which always shows
// the code variable afterwards.
std::string chooseName(std::span<const FeatureName> table, std::string_view text, std::string& code);

// Why a step that writes files named by `code` may not run while the list shows `text`,
// or nothing when `text` is the table's name for `code`. `kind` is "cusp" or "crest":
//   nothing chosen (empty text or code)   Choose <kind> name
//   a text that is no name of the table   "<text>" is not a <kind> of the list: choose a <kind> name from the list.
//   another name, typed but not chosen    "<text>" is not the <kind> chosen (<code>): choose a <kind> name from the list.
std::optional<std::string> nameRefusal(std::span<const FeatureName> table, std::string_view kind,
                                       std::string_view text, std::string_view code);
std::optional<std::string> cuspNameRefusal(std::string_view text, std::string_view code);
std::optional<std::string> crestNameRefusal(std::string_view text, std::string_view code);

} // namespace trelvik::toothfeatures

#pragma once
// The statistics row that the viewer's results tables share: a label, a count, then
// mean, SD, minimum, maximum, median, lower and upper quartile, in the write form.
// Callers append their own further items before taking the text.
#include "core/stats.h"
#include "core/textform.h"

#include <string_view>

namespace trelvik::csvview {

inline text::WriteLine statsRow(std::string_view label, double count, const SummaryStats& s) {
    text::WriteLine w;
    w.text(label).num(count).num(s.mean).num(s.sd).num(s.min).num(s.max).num(s.median).num(s.q1).num(s.q3);
    return w;
}

} // namespace trelvik::csvview

#pragma once
// Which option of a cusp-threshold group (NA / Abs / Prop) is selected. The filter
// frame and the per-tooth statistics read the same option group; None (nothing
// selected) keeps the previous values where a caller remembers them.
namespace trelvik::csvview {

enum class ThresholdRule { None, NA, Abs, Prop };

} // namespace trelvik::csvview

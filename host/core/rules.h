// How the host turns value-routine results into pictures where the modules leave it open.
#pragma once

#include <cmath>

namespace host {

// The frame an icon of `frames` frames shows for a result: the whole part of the result
// (rounded down), kept within 0 to frames - 1; a result that is not a number shows
// frame 0. The change is immediate: the host does not step through the frames between.
inline int icon_frame(double value, int frames) {
  if (frames < 1 || std::isnan(value) || value < 0) return 0;
  if (value >= frames - 1) return frames - 1;
  return static_cast<int>(std::floor(value));
}

}  // namespace host

#pragma once
// The display's colour depth as the image component uses it for automatic reading and
// writing: 4, 8 or 24 bits per pixel.

#include <optional>

namespace pelorin {

// The rule over the screen's bits per pixel: 4 or fewer gives 4, below 16 gives 8,
// 16 or more gives 24.
int depthForScreenBits(int bitsPerPixel);

// The rule applied to the primary screen's depth (24 without a screen). Call it on the
// user-interface thread; workers get the value in their request.
int displayDepth();

// Makes displayDepth() act as if the screen had this many bits per pixel (tests,
// imgtool's --display-depth); std::nullopt returns to the real screen.
void setScreenBitsOverride(std::optional<int> bitsPerPixel);

} // namespace pelorin

#pragma once
// The plain values the painting rules hand to the window code: 8-bit RGB
// colours, points and edge rectangles, in logical or in window pixels.

#include <cstdint>

namespace app {

struct Colour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    bool operator==(const Colour&) const = default;
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const Point&) const = default;
};

// Left, top, right and bottom edges, right and bottom excluded.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const Rect&) const = default;
};

// The same edges in window (device) pixels, where the window code repaints.
using PixelRect = Rect;

}  // namespace app

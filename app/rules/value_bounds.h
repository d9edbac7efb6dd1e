#pragma once
// Bounds far beyond any real screen, scale or level. The rules hold their
// inputs to them on entry, so that no figure they work out overflows and no
// list they build grows without end, whatever value they are given; the
// values a real window, monitor or receiver produces pass unchanged.

#include <algorithm>
#include <cstdint>

#include "app/rules/paint_colour.h"
#include "hf/ui_layout.h"

namespace app {

// A coordinate or a length in pixels, device or logical, either way.
inline constexpr int32_t pixelBound = 1000000;
// A UI scale (device pixels per logical pixel).
inline constexpr float smallestScale = 1.0f / 64.0f;
inline constexpr float largestScale = 64.0f;
// A level, a top or a range in dB, either way.
inline constexpr int32_t levelBound = 1000;

inline int32_t boundedPixel(int32_t pixels) { return std::clamp(pixels, -pixelBound, pixelBound); }

// Also a length that is no number, which counts as 0.
inline float boundedPixel(float pixels) {
    const float limit = static_cast<float>(pixelBound);
    return pixels >= -limit ? std::min(pixels, limit) : pixels < -limit ? -limit : 0.0f;
}

inline Point boundedPoint(Point p) { return {boundedPixel(p.x), boundedPixel(p.y)}; }

inline Rect boundedRect(const Rect& r) {
    return {boundedPixel(r.left), boundedPixel(r.top), boundedPixel(r.right), boundedPixel(r.bottom)};
}

inline hf::Box boundedBox(const hf::Box& b) {
    return {boundedPixel(b.x), boundedPixel(b.y), boundedPixel(b.w), boundedPixel(b.h)};
}

// A scale that is not positive, or no number, is 1.
inline float boundedScale(float scale) {
    return scale > 0.0f ? std::clamp(scale, smallestScale, largestScale) : 1.0f;
}

inline int32_t boundedLevel(int32_t db) { return std::clamp(db, -levelBound, levelBound); }

}  // namespace app

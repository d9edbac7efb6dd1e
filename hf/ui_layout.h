#pragma once
// Geometry of the main window for one client size, in logical (96-DPI)
// pixels. The origin lies below the 28-pixel caption band, so a negative y is
// inside that band.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace hf {

struct Box {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t w = 0;
    std::int32_t h = 0;

    bool operator==(const Box&) const = default;
};

struct Panel {
    Box rect;
    std::wstring caption;
};

struct Label {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::wstring text;
};

struct UiLayout {
    // width and height: the logical client size below the caption band. Any
    // size is accepted; a figure that no 32-bit integer can hold saturates.
    UiLayout(int width, int height);

    // Every child control by id, except the hidden combo boxes and the plot.
    std::map<int, Box> boxes;
    std::vector<Panel> panels;  // in painting order
    std::vector<Label> labels;  // in painting order
    Box plot;
    Box frequency;  // the panel behind the frequency field and its buttons
    Box info;       // the S-meter area
    std::int32_t cwTop = 0;
    bool compact = false;  // the arrangement for narrow windows
};

}  // namespace hf

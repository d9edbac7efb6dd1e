#include "app/rules/window_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/rules/construction_rules.h"
#include "app/rules/value_bounds.h"
#include "hf/modes.h"
#include "hf/passband.h"

namespace app {

namespace {

constexpr int32_t resizeBorder = 6;
constexpr int32_t captionHeight = 28;
constexpr int32_t captionButtonWidth = 42;
constexpr int32_t captionButtonsWidth = 3 * captionButtonWidth;

FrameHit borderHit(bool left, bool top, bool right, bool bottom) {
    if (left && top) return FrameHit::topLeft;
    if (right && top) return FrameHit::topRight;
    if (left && bottom) return FrameHit::bottomLeft;
    if (right && bottom) return FrameHit::bottomRight;
    if (left) return FrameHit::left;
    if (right) return FrameHit::right;
    if (top) return FrameHit::top;
    if (bottom) return FrameHit::bottom;
    return FrameHit::client;
}

}  // namespace

int32_t logicalPixel(int32_t pixels, float uiScale) {
    return static_cast<int32_t>(static_cast<float>(boundedPixel(pixels)) / boundedScale(uiScale));
}

FrameHit frameHit(bool maximised, float uiScale, Rect window, Point screen, Point client,
                  int32_t layoutWidth) {
    window = boundedRect(window);
    screen = boundedPoint(screen);
    client = boundedPoint(client);
    layoutWidth = boundedPixel(layoutWidth);
    if (!maximised) {
        const int32_t b = scaled(resizeBorder, uiScale);
        const FrameHit border = borderHit(screen.x < window.left + b, screen.y < window.top + b,
                                          screen.x >= window.right - b, screen.y >= window.bottom - b);
        if (border != FrameHit::client) return border;
    }
    if (client.y < scaled(captionHeight, uiScale))
        return logicalPixel(client.x, uiScale) < layoutWidth - captionButtonsWidth ? FrameHit::caption
                                                                                   : FrameHit::client;
    return FrameHit::client;
}

CaptionAction captionAction(Point client, float uiScale, int32_t layoutWidth) {
    layoutWidth = boundedPixel(layoutWidth);
    const int32_t x = logicalPixel(client.x, uiScale);
    if (logicalPixel(client.y, uiScale) > captionHeight - 1) return CaptionAction::passOn;
    if (x >= layoutWidth - captionButtonWidth) return CaptionAction::close;
    if (x >= layoutWidth - 2 * captionButtonWidth) return CaptionAction::toggleMaximised;
    if (x >= layoutWidth - captionButtonsWidth) return CaptionAction::minimise;
    return CaptionAction::none;
}

Point windowSize(float uiScale, int32_t workWidth, int32_t workHeight) {
    const auto side = [uiScale](int32_t logical, int32_t work) {
        const int32_t wanted = scaled(logical, uiScale);
        return work > 0 ? std::min(wanted, boundedPixel(work)) : wanted;
    };
    return {side(1320, workWidth), side(740, workHeight)};
}

TrackingSizes trackingSizes(float uiScale, const std::optional<MonitorArea>& monitor) {
    TrackingSizes sizes{{scaled(1020, uiScale), scaled(720, uiScale)}, std::nullopt};
    if (!monitor) return sizes;
    const Rect work = boundedRect(monitor->work);
    const Rect whole = boundedRect(monitor->monitor);
    const Point workSize{work.right - work.left, work.bottom - work.top};
    sizes.minTrack = {std::min(sizes.minTrack.x, workSize.x), std::min(sizes.minTrack.y, workSize.y)};
    sizes.maximised = MaximisedPlace{workSize, {work.left - whole.left, work.top - whole.top}};
    return sizes;
}

int32_t squelchFromSlider(int32_t position) {
    return static_cast<int32_t>(std::lround(std::clamp(position, 0, 100) * 110.0 / 100.0));
}

std::wstring squelchStatus(int32_t squelch) {
    if (squelch == 0) return L"Squelch OFF — écoute sans seuil";
    return L"Squelch : " + std::to_wstring(int64_t{squelch} - 110) + L" dBFS";
}

ControlLook controlLook(std::wstring_view className, uint32_t style) {
    if (className != L"BUTTON") return ControlLook::darkTheme;
    return (style & 3u) == 3u ? ControlLook::plainCheckBox : ControlLook::ownerDrawnButton;
}

bool resizeCursor(const PlotGeometry& plot, Point logical, const hf::Settings& form, int32_t span,
                  bool shift) {
    const int64_t x = logical.x;
    const int64_t y = logical.y;
    if (y < 44 || x < 50 || x > static_cast<int64_t>(boundedPlot(plot).columns) + 50) return false;

    const PassbandColumns edges = passbandColumns(plot, form, span);
    const int64_t left = edges.lo;
    const int64_t right = edges.hi;
    const int64_t upperHandle = upperHandleColumn(edges);
    const int64_t lowerHandle = lowerHandleColumn(edges);

    // A USB passband is grabbed by its upper side only, an LSB one by its lower side.
    const bool upperCounts = form.Mode != hf::modeLSB;
    const bool lowerCounts = form.Mode != hf::modeUSB;
    const auto near = [x](int64_t column, int64_t reach) { return std::llabs(x - column) <= reach; };

    const bool onHandle = y <= 62 && ((upperCounts && near(upperHandle, 7)) ||
                                      (lowerCounts && near(lowerHandle, 7)));
    const bool onEdge = right - left > 12 &&
                        ((lowerCounts && near(left, 4)) || (upperCounts && near(right, 4)));
    const bool shiftInside = shift && x >= left - 4 && x <= right + 4;
    return onHandle || onEdge || shiftInside;
}

}  // namespace app

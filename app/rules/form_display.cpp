#include "app/rules/form_display.h"

#include "app/rules/form_reading.h"
#include "hf/modes.h"

#include <algorithm>
#include <string_view>

namespace app {

namespace {

constexpr uint32_t lowestTunerHz = 25000000;
constexpr int hundredHzItem = 2;

bool samplesHfDirectly(const hf::Device& dongle) {
    const auto is = [&](std::string_view manufacturer, std::string_view product) {
        return dongle.manufacturer == manufacturer && dongle.product == product;
    };
    return is("Nooelec", "NESDR SMArt v5") || is("RTLSDRBlog", "Blog V3");
}

}  // namespace

std::array<const wchar_t*, 3> presetCaptions(int32_t mode) {
    if (mode == hf::modeCW) return {L"300 Hz", L"500 Hz", L"800 Hz"};
    return {L"2,1 k", L"2,7 k", L"3 k"};
}

std::array<int32_t, 3> presetWidths(int32_t mode) {
    if (mode == hf::modeCW) return {300, 500, 800};
    return {2100, 2700, 3000};
}

bool gainControlsEnabled(const hf::Device& dongle, uint32_t frequency) {
    return !samplesHfDirectly(dongle) || frequency >= lowestTunerHz;
}

int stepSelection(int32_t step) {
    const auto found = std::find(steps.begin(), steps.end(), step);
    if (found == steps.end()) return hundredHzItem;
    return static_cast<int>(found - steps.begin());
}

bool choiceRowsChange(const hf::Settings& before, const hf::Settings& after) {
    return before.Mode != after.Mode || before.Bandwidth != after.Bandwidth || before.Step != after.Step;
}

}  // namespace app

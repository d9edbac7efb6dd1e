#include "hf/ui_layout.h"

#include <algorithm>
#include <limits>

namespace hf {

namespace {

// Figures are worked out on 64 bits, so no size can overflow them.
using Wide = std::int64_t;

std::int32_t fit(Wide v) {
    return static_cast<std::int32_t>(std::clamp<Wide>(v, std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max()));
}

Box box(Wide x, Wide y, Wide w, Wide h) { return {fit(x), fit(y), fit(w), fit(h)}; }

}  // namespace

UiLayout::UiLayout(int clientWidth, int clientHeight) {
    const Wide width = clientWidth;
    const Wide height = clientHeight;
    compact = width < 1200;
    const Wide rowY = compact ? 96 : 91;
    const Wide freqW = compact ? width - 798 : 280;
    const Wide rest = width - 504;
    const Wide modeW = 36 * rest / 100;
    const Wide filterW = 29 * rest / 100;
    const Wide spanW = rest - modeW - filterW;
    const Wide cwPanelTop = height - 166;
    cwTop = fit(cwPanelTop);

    auto panel = [this](Wide x, Wide y, Wide w, Wide h, const wchar_t* caption) {
        panels.push_back({box(x, y, w, h), caption});
    };
    panel(8, 8, 214, 137, L"SOURCE RADIO");
    panel(8, 153, 214, 170, L"RÉCEPTION");
    panel(8, 331, 214, 94, L"PAS MANUEL (Hz)");
    panel(8, 430, 214, 65, L"PLAGE À SCANNER");
    panel(8, 497, 214, height - 523, L"SORTIE AUDIO");
    panel(230, rowY, modeW, 76, L"MODE");
    panel(modeW + 238, rowY, filterW, 76, L"FILTRE AUDIO");
    panel(modeW + filterW + 246, rowY, spanW - 16, 76, compact ? L"SPECTRE" : L"AFFICHAGE SPECTRE");
    panel(width - 266, 8, 258, rowY + 68, L"SCANNER");
    panel(230, cwPanelTop, width - 238, 140, L"DÉCODEUR CW LOCAL");

    auto label = [this](Wide x, Wide y, const wchar_t* text) { labels.push_back({fit(x), fit(y), text}); };
    label(18, 76, L"N°");
    label(18, 188, L"Gain RF");
    label(18, 260, L"PPM");
    label(18, 296, L"Largeur (Hz)");
    label(18, 558, L"FAVORIS");
    label(modeW + 246, rowY + 54, L"Squelch");
    label(modeW + filterW + 254, rowY + 53, L"Fond WF");
    label(width - 188, 135, L"à");
    label(311, cwPanelTop + 31, L"Ton");
    label(410, cwPanelTop + 31, L"Vitesse");
    label(649, cwPanelTop + 31, L"Seuil");
    label(234, 62, L"Volume");

    frequency = box(524, 8, freqW, 79);
    info = compact ? box(460, -24, 275, 24) : box(freqW + 536, 8, width - freqW - 810, 78);
    plot = box(230, rowY + 86, width - 238, cwPanelTop - rowY - 94);

    auto place = [this](int id, Wide x, Wide y, Wide w, Wide h) { boxes[id] = box(x, y, w, h); };
    place(100, 234, 16, compact ? 104 : 110, 34);
    place(101, 530, 12, freqW - 57, 35);
    place(102, 576, 51, freqW - 104, 26);
    place(103, 536, 51, 32, 26);
    place(104, freqW + 480, 51, 32, 26);
    place(107, 128, 289, 84, 25);
    place(108, 118, 184, 94, 26);
    place(109, 128, 254, 84, 25);
    place(110, 346, cwPanelTop + 28, 55, 25);
    place(111, 465, cwPanelTop + 28, 44, 25);
    place(112, 519, cwPanelTop + 28, 122, 25);
    place(113, 695, cwPanelTop + 28, 88, 25);
    place(114, 238, cwPanelTop + 28, 65, 25);
    place(115, 18, 38, 194, 26);
    place(116, 112, 101, 100, 29);
    place(117, 18, 527, 194, 26);
    place(118, 290, 58, 115, 27);
    place(119, 18, 581, 194, std::max<Wide>(20, height - 635));
    place(120, 18, height - 52, 194, 26);
    place(121, 18, 458, 194, 26);
    place(126, 12, height - 24, width - 24, 18);
    place(127, 238, cwPanelTop + 61, width - 424, 70);
    place(128, 18, 218, 194, 24);
    place(129, compact ? 432 : 438, 16, 70, 34);
    place(131, width - 258, 133, 69, 25);
    place(132, width - 175, 133, 69, 25);
    place(133, width - 99, 133, 83, 26);
    place(134, width - 258, 62, 130, 28);
    place(135, width - 258, 95, 74, 26);
    place(136, modeW + filterW + 308, rowY + 52, spanW - 88, 20);
    place(137, compact ? 344 : 350, 16, 80, 34);
    place(138, 463, 58, 54, 27);
    place(139, width - 121, 62, 105, 28);
    place(140, modeW + 308, rowY + 53, filterW - 118, 21);

    // A line of equal controls; control k lies k steps from the first.
    auto row = [&place](int firstId, int count, Wide x, Wide y, Wide stepX, Wide stepY, Wide w, Wide h) {
        for (int k = 0; k < count; ++k) place(firstId + k, x + k * stepX, y + k * stepY, w, h);
    };
    row(122, 3, width - 178, cwPanelTop + 26, 0, 29, 162, 26);
    const Wide modeButton = (modeW - 24) / 5;
    row(300, 5, 238, rowY + 28, modeButton + 2, 0, modeButton, 33);
    row(320, 3, 18, 360, 66, 0, 62, 27);
    row(323, 4, 18, 392, 49, 0, 45, 27);
    const Wide spanButton = (spanW - 44) / 4;
    row(340, 4, modeW + filterW + 254, rowY + 28, spanButton + 4, 0, spanButton, 23);
    row(360, 4, width - 258, 36, 62, 0, 57, 21);
    row(380, 4, width - 179, 95, 41, 0, 38, 26);
    const Wide presetButton = (filterW - 24) / 3;
    row(400, 3, modeW + 246, rowY + 28, presetButton + 4, 0, presetButton, 23);
}

}  // namespace hf

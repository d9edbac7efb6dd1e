// The main window's content: every control with its first text, items and
// selection, the tooltips, the plot child and the display timer.

#include "app/app.h"
#include "app/rules/construction_rules.h"
#include "app/rules/reception_rules.h"
#include "app/rules/settings_file.h"
#include "app/windows/window_scale.h"

#include <mmsystem.h>

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr DWORD pushStyle = 0;
constexpr DWORD checkStyle = BS_AUTOCHECKBOX;
constexpr DWORD comboStyle = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
constexpr DWORD fieldStyle = WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD frequencyStyle = ES_CENTER | ES_AUTOHSCROLL;
constexpr DWORD sliderStyle = TBS_NOTICKS;
constexpr DWORD favoritesStyle = WS_BORDER | WS_VSCROLL | LBS_NOTIFY;
constexpr DWORD cwTextStyle = WS_BORDER | WS_VSCROLL | ES_READONLY | ES_AUTOVSCROLL | ES_MULTILINE;

constexpr UINT displayTickMs = 50;
constexpr UINT_PTR frequencySubclass = 1;

constexpr wchar_t frequencyTip[] =
    L"Cliquez en haut du chiffre : + ; en bas : −. Molette également disponible. Ctrl+A pour "
    L"saisir toute la fréquence.";
constexpr wchar_t stepTip[] =
    L"Pas du réglage manuel (+/− et molette). 1k = 1 000 Hz. Ce réglage ne définit pas la largeur "
    L"du filtre ; le scan prédéfini utilise son propre pas.";

// The rows of buttons that drive the hidden choices and the presets.
struct ButtonRow {
    int firstId;
    std::vector<const wchar_t*> captions;
};

const std::array<ButtonRow, 6>& buttonRows() {
    static const std::array<ButtonRow, 6> rows{{
        {300, {app::modeItems.begin(), app::modeItems.end()}},
        {320, {L"10", L"50", L"100", L"500", L"1000", L"5000", L"10000"}},
        {340, {L"12 k", L"48 k", L"96 k", L"480 k"}},
        {360, {L"HF", L"CW", L"CB", L"Fav."}},
        {380, {L"1 s", L"2 s", L"3 s", L"5 s"}},
        {400, {L"2,1 kHz", L"2,7 kHz", L"3 kHz"}},
    }};
    return rows;
}

template <std::size_t N>
std::vector<std::wstring> items(const std::array<const wchar_t*, N>& texts) {
    return {texts.begin(), texts.end()};
}

// The waveOut devices by number; a device whose capabilities cannot be read
// keeps its place, so that item k + 1 is still device k.
std::vector<std::wstring> outputNames() {
    std::vector<std::wstring> names;
    for (UINT device = 0; device < waveOutGetNumDevs(); ++device) {
        WAVEOUTCAPSW caps{};
        if (waveOutGetDevCapsW(device, &caps, sizeof caps) == MMSYSERR_NOERROR)
            names.emplace_back(caps.szPname);
        else
            names.emplace_back(app::unavailableOutputItem);
    }
    return names;
}

}  // namespace

void App::build() {
    const auto window = [this](int id) { return controls.at(id); };
    const auto send = [&](int id, UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageW(window(id), message, wParam, lParam);
    };
    const auto setCheck = [&](int id, bool checked) {
        send(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    const auto slider = [&](int id, int position) {
        control(id, L"msctls_trackbar32", L"", sliderStyle);
        send(id, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        send(id, TBM_SETPOS, TRUE, position);
    };
    // The drop-down widths follow the scale the fonts will be made for.
    const float scale = windowUiScale(mainWindow);
    const auto dropWidth = [&](int id, int32_t logicalWidth) {
        send(id, CB_SETDROPPEDWIDTH, app::scaled(logicalWidth, scale), 0);
    };

    uiFont = windowFont(L"Segoe UI", -17, FW_NORMAL);
    frequencyFont = windowFont(L"Consolas", -36, FW_SEMIBOLD);

    control(137, L"BUTTON", app::pauseCaption(false), pushStyle);
    control(138, L"BUTTON", L"Muet", pushStyle);
    control(139, L"BUTTON", L"■ Arrêter", pushStyle);
    control(100, L"BUTTON", app::startCaption(false), pushStyle);
    control(129, L"BUTTON", L"■ STOP", pushStyle);
    EnableWindow(window(129), FALSE);

    control(101, L"EDIT", L"", frequencyStyle);
    send(101, WM_SETFONT, reinterpret_cast<WPARAM>(frequencyFont), TRUE);

    control(102, L"BUTTON", L"Accorder", pushStyle);
    control(103, L"BUTTON", L"−", pushStyle);
    control(104, L"BUTTON", L"+", pushStyle);

    for (int id : {105, 106, 115, 117, 121, 125, 108, 113, 130, 133})
        control(id, L"COMBOBOX", L"", comboStyle);
    for (int id : {107, 109, 110, 111, 131, 132}) control(id, L"EDIT", L"", fieldStyle);

    control(134, L"BUTTON", app::startScanCaption, pushStyle);
    control(135, L"BUTTON", L"Suivant ›", pushStyle);

    combo(130, items(app::scanRangeItems), app::initialScanRangeItem);
    combo(133, items(app::scanModeItems), 0);
    SetWindowTextW(window(131), L"7.000");
    SetWindowTextW(window(132), L"7.060");

    control(116, L"BUTTON", L"Actualiser", pushStyle);
    control(128, L"BUTTON", L"Gain auto", checkStyle);
    control(119, L"LISTBOX", L"", favoritesStyle);
    control(120, L"BUTTON", L"+ Mémoriser", pushStyle);
    control(112, L"BUTTON", L"Vitesse auto", checkStyle);
    setCheck(112, true);
    control(114, L"BUTTON", L"Actif", checkStyle);
    setCheck(114, true);
    control(127, L"EDIT", L"", cwTextStyle);
    control(122, L"BUTTON", L"Effacer", pushStyle);
    control(123, L"BUTTON", L"Enregistrer le texte", pushStyle);
    control(124, L"BUTTON", app::recordAudioCaption, pushStyle);

    slider(118, app::volumePercent(volume.load()));
    slider(140, app::squelchPosition(squelch));
    slider(136, waterfallLight);

    control(126, L"STATIC", statusText.c_str(), 0);

    combo(105, items(app::modeItems), 4);
    combo(106, items(app::stepItems), 2);
    combo(125, items(app::spanItems), app::spanSelection(spectrumSpan));
    combo(108, items(app::gainItems), 3);
    combo(113, items(app::thresholdItems), 0);
    combo(121, items(app::visibleScanRangeItems), app::initialScanRangeItem);
    dropWidth(121, app::scanRangeListWidth);

    std::vector<std::wstring> outputs = outputNames();
    const int output = app::audioOutputSelection(outputs, audioName);
    outputs.insert(outputs.begin(), app::defaultOutputItem);
    combo(117, outputs, output);
    dropWidth(117, app::outputListWidth);

    SetWindowTextW(window(110), std::to_wstring(uiSettings.Tone).c_str());
    SetWindowTextW(window(111), std::to_wstring(uiSettings.WPM).c_str());
    setCheck(128, uiSettings.RFAuto);
    setCheck(112, uiSettings.AutoSpeed);
    setCheck(114, uiSettings.Decode);
    send(108, CB_SETCURSEL, app::gainSelection(uiSettings.Gain), 0);
    send(113, CB_SETCURSEL, app::thresholdSelection(uiSettings.AutoThreshold, uiSettings.Threshold), 0);

    settingsUI();

    favoriteList();

    dropWidth(115, app::dongleListWidth);
    for (int id : {105, 106, 125, 130}) ShowWindow(window(id), SW_HIDE);

    for (const ButtonRow& row : buttonRows())
        for (std::size_t k = 0; k < row.captions.size(); ++k)
            control(row.firstId + static_cast<int>(k), L"BUTTON", row.captions[k], pushStyle);

    SetWindowSubclass(window(101), App::freqProc, frequencySubclass, reinterpret_cast<DWORD_PTR>(this));

    // One tooltip window, owned by the main window, which destroys it.
    HWND tips = CreateWindowExW(WS_EX_TOPMOST, L"tooltips_class32", nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mainWindow,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    const auto addTip = [&](int id, const wchar_t* text) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = mainWindow;
        tool.uId = reinterpret_cast<UINT_PTR>(window(id));
        tool.lpszText = const_cast<wchar_t*>(text);
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    };
    addTip(101, frequencyTip);
    for (int id = 320; id <= 326; ++id) addTip(id, stepTip);

    paintFont = windowFont(L"Segoe UI", -16, FW_NORMAL);
    updateFonts();

    plotWindow = CreateWindowExW(0, L"HFPlot", L"", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, mainWindow,
                                 nullptr, GetModuleHandleW(nullptr), this);
    SetTimer(mainWindow, displayTimer, displayTickMs, nullptr);
}

void App::combo(int id, const std::vector<std::wstring>& items, int sel) {
    HWND box = controls.at(id);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items)
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(sel), 0);
}

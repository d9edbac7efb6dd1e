#include "app/app.h"

#include "app/rules/search_rules.h"

App::App()
    : backgroundBrush(CreateSolidBrush(RGB(6, 21, 37))),
      controlBrush(CreateSolidBrush(RGB(6, 28, 46))),
      signalBrush(CreateSolidBrush(RGB(4, 59, 36))),
      frequencyBrush(CreateSolidBrush(RGB(4, 59, 36))) {}

App::~App() {
    stopRequested = true;
    if (searchThread.joinable()) searchThread.join();
    if (receiverThread.joinable()) {
        cancel();
        receiverThread.join();
    }
    for (HFONT font : {uiFont, frequencyFont, compactFrequencyFont, paintFont})
        if (font != nullptr) DeleteObject(font);
    for (HBRUSH brush : {backgroundBrush, controlBrush, signalBrush, frequencyBrush})
        if (brush != nullptr) DeleteObject(brush);
    // The members go in reverse order: the recorder finalises a WAV file still
    // open, and rtl unloads the library only after both threads have ended.
}

std::wstring App::name(const hf::Device& device) { return app::dongleName(device); }

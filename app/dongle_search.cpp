// Lists the attached dongles on a worker thread, so that the window stays
// responsive while the library enumerates them, then refills the dongle list
// with the confirmed dongle selected again, and never another in its place.

#include "app/app.h"
#include "app/rules/control_ids.h"

#include "app/rules/search_rules.h"
#include "platform/text.h"

#include <exception>
#include <vector>

void App::scan() {
    if (searching || running) return;
    if (searchThread.joinable()) searchThread.join();
    // The search thread replaces `devices`, which a choice in the list reads.
    EnableWindow(controls.at(app::searchButton), FALSE);
    EnableWindow(controls.at(app::dongleList), FALSE);
    searching = true;
    setStatus(app::searchingStatus);
    try {
        searchThread = std::thread([this] {
            try {
                std::vector<hf::Device> found = rtl->devices();
                devices.swap(found);  // the old list goes with `found`, on this thread
                lastError.clear();
            } catch (const std::exception& e) {
                lastError = wide(e.what());
            }
            PostMessageW(mainWindow, searchEndedMessage, 0, 0);
        });
    } catch (const std::exception&) {
        // No thread will post its end, so nothing would ever clear `searching`
        // and a close would wait for it for ever.
        searching = false;
        EnableWindow(controls.at(app::searchButton), TRUE);
        EnableWindow(controls.at(app::dongleList), TRUE);
        setStatus(app::searchNotStartedStatus);
    }
}

void App::scanDone() {
    if (searchThread.joinable()) searchThread.join();
    searching = false;
    EnableWindow(controls.at(app::searchButton), TRUE);
    EnableWindow(controls.at(app::dongleList), TRUE);
    const int selection = app::rememberedSelection(devices, selectedDevice);
    combo(app::dongleList, app::dongleListTexts(devices), selection);
    setStatus(app::searchOutcomeStatus(selection));
    InvalidateRect(mainWindow, nullptr, TRUE);
    if (closePending) DestroyWindow(mainWindow);
}

// hfprobe: looks at and drives the program's main window from outside, for
// the end-to-end test scripts. Commands follow one another on the command
// line; each prints its results on stdout, one per line, in UTF-8. The first
// failure ends the run with a message on stderr and exit code 1.

#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/text.h"
#include "tests/e2e/probe/arguments.h"
#include "tests/e2e/probe/message_box.h"
#include "tests/e2e/probe/remote_window.h"
#include "tests/e2e/probe/user_actions.h"

namespace {

// Line ends become "\n" alone, so the shell sees each line as it compares it.
void say(const std::wstring& line) {
    std::string bytes = narrow(line);
    for (std::size_t at; (at = bytes.find("\r\n")) != std::string::npos;) bytes.erase(at, 1);
    bytes += '\n';
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void say(LRESULT number) { say(std::to_wstring(number)); }

void sayComboItem(HWND combo, int index) {
    const LRESULT length = query(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) throw std::runtime_error("the combo box has no item " + std::to_string(index));
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    query(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    say(item);
}

void sayRect(const RECT& r) {
    say(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right) + L" " +
        std::to_wstring(r.bottom));
}

// The left edge of an edit's character in its client area (EM_POSFROMCHAR).
int characterLeft(HWND edit, int index) {
    const LRESULT position = query(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index));
    if (position == -1) throw std::runtime_error("the edit cannot place character " + std::to_string(index));
    return static_cast<short>(LOWORD(position));
}

// The screen rectangle of an edit's character: its cell from its left edge to
// the next one's (the last character is as wide as the one before it), over
// the edit's whole client height.
RECT characterCell(HWND edit, int index) {
    const int length = static_cast<int>(windowText(edit).size());
    if (index < 0 || index >= length) throw std::runtime_error("no character " + std::to_string(index));
    const int left = characterLeft(edit, index);
    int right = 0;
    if (index + 1 < length) right = characterLeft(edit, index + 1);
    else if (index > 0) right = 2 * left - characterLeft(edit, index - 1);
    else throw std::runtime_error("a one-character text has no known cell width");
    RECT client{};
    GetClientRect(edit, &client);
    POINT corners[2] = {{left, 0}, {right, client.bottom}};
    MapWindowPoints(edit, nullptr, corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void waitText(int id, const std::wstring& wanted, int timeoutMs) {
    HWND field = control(id);
    std::wstring seen;
    // A window busy for a moment (a cold first paint) is waited for like a
    // text that has not come yet.
    const auto shows = [&] {
        try {
            return (seen = windowText(field)).find(wanted) != std::wstring::npos;
        } catch (const std::runtime_error&) {
            return false;
        }
    };
    if (!waitUntil(shows, timeoutMs))
        throw std::runtime_error("control " + std::to_string(id) + " still reads \"" + narrow(seen) + "\"");
}

struct Command {
    const wchar_t* name;
    const char* usage;
    std::function<void(Arguments&)> run;
};

const Command kCommands[] = {
    {L"wait-window", "[timeout_ms]", [](Arguments& a) { mainWindow(a.optionalNumber(kDefaultTimeoutMs)); }},
    {L"exists", "", [](Arguments&) { say(findMainWindow() ? 1 : 0); }},
    {L"title", "", [](Arguments&) { say(windowText(mainWindow())); }},
    {L"client-size", "", [](Arguments&) {
         RECT r{};
         GetClientRect(mainWindow(), &r);
         say(std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom));
     }},
    {L"client-origin", "", [](Arguments&) {
         POINT origin{0, 0};
         ClientToScreen(mainWindow(), &origin);
         say(std::to_wstring(origin.x) + L" " + std::to_wstring(origin.y));
     }},
    // Sizes the main window so that its client area gets the given size, as
    // a user's drag of its border would.
    {L"resize", "<client_width> <client_height>", [](Arguments& a) {
         const int width = a.number("client_width");
         const int height = a.number("client_height");
         resizeClient(mainWindow(), width, height);
     }},
    {L"text", "<id>", [](Arguments& a) { say(windowText(control(a.number("id")))); }},
    {L"combo-sel", "<id>", [](Arguments& a) { say(query(control(a.number("id")), CB_GETCURSEL)); }},
    {L"combo-count", "<id>", [](Arguments& a) { say(query(control(a.number("id")), CB_GETCOUNT)); }},
    {L"combo-item", "<id> <index>", [](Arguments& a) {
         HWND combo = control(a.number("id"));
         sayComboItem(combo, a.number("index"));
     }},
    {L"trackbar-pos", "<id>", [](Arguments& a) { say(query(control(a.number("id")), TBM_GETPOS)); }},
    {L"enabled", "<id>", [](Arguments& a) { say(IsWindowEnabled(control(a.number("id"))) ? 1 : 0); }},
    {L"visible", "<id>", [](Arguments& a) { say(IsWindowVisible(control(a.number("id"))) ? 1 : 0); }},
    {L"checked", "<id>", [](Arguments& a) { say(query(control(a.number("id")), BM_GETCHECK)); }},
    {L"rect", "<id>", [](Arguments& a) {
         RECT r{};
         GetWindowRect(control(a.number("id")), &r);
         sayRect(r);
     }},
    {L"char-rect", "<id> <index>", [](Arguments& a) {
         HWND edit = control(a.number("id"));
         sayRect(characterCell(edit, a.number("index")));
     }},
    {L"plot-rect", "", [](Arguments&) {
         HWND plot = FindWindowExW(mainWindow(), nullptr, L"HFPlot", nullptr);
         if (!plot) throw std::runtime_error("no HFPlot window");
         RECT r{};
         GetWindowRect(plot, &r);
         sayRect(r);
     }},
    {L"click", "<id>", [](Arguments& a) { click(control(a.number("id"))); }},
    {L"set-text", "<id> <text>", [](Arguments& a) {
         HWND field = control(a.number("id"));
         setText(field, a.word("text"));
     }},
    {L"key", "<id> <vk>", [](Arguments& a) {
         HWND target = control(a.number("id"));
         pressKey(target, virtualKey(a.word("vk")));
     }},
    {L"combo-select", "<id> <index>", [](Arguments& a) {
         HWND combo = control(a.number("id"));
         chooseComboItem(combo, a.number("index"));
     }},
    {L"trackbar-set", "<id> <pos>", [](Arguments& a) {
         HWND trackbar = control(a.number("id"));
         moveTrackbar(trackbar, a.number("pos"));
     }},
    {L"close", "", [](Arguments&) { PostMessageW(mainWindow(), WM_CLOSE, 0, 0); }},
    {L"wait-text", "<id> <substring> [timeout_ms]", [](Arguments& a) {
         const int id = a.number("id");
         const std::wstring wanted = a.word("substring");
         waitText(id, wanted, a.optionalNumber(kDefaultTimeoutMs));
     }},
    {L"wait-gone", "[timeout_ms]", [](Arguments& a) {
         const int timeoutMs = a.optionalNumber(kDefaultTimeoutMs);
         if (!waitUntil([] { return findMainWindow() == nullptr; }, timeoutMs))
             throw std::runtime_error("the main window is still open");
     }},
    {L"message-box", "[timeout_ms]", [](Arguments& a) {
         HWND box = messageBox(a.optionalNumber(kDefaultTimeoutMs));
         say(windowText(box));
         say(messageBoxText(box));
     }},
    {L"message-box-ok", "[timeout_ms]", [](Arguments& a) {
         const int timeoutMs = a.optionalNumber(kDefaultTimeoutMs);
         pressMessageBoxOk(messageBox(timeoutMs), timeoutMs);
     }},
};

void complain(const std::string& message) {
    const std::string line = "hfprobe: " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void printUsage() {
    std::string usage = "usage: hfprobe <command> [arguments] [<command> [arguments]]...\ncommands:\n";
    for (const Command& command : kCommands) usage += "  " + narrow(command.name) + " " + command.usage + "\n";
    std::fwrite(usage.data(), 1, usage.size(), stderr);
}

const Command* findCommand(const std::wstring& name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    Arguments arguments(argc, argv);
    if (arguments.done()) {
        printUsage();
        return 2;
    }
    while (!arguments.done()) {
        const std::wstring name = arguments.word("command");
        const Command* command = findCommand(name);
        if (!command) {
            complain("unknown command " + narrow(name));
            printUsage();
            return 2;
        }
        try {
            command->run(arguments);
        } catch (const std::exception& e) {
            complain(narrow(name) + ": " + e.what());
            return 1;
        }
    }
    return 0;
}

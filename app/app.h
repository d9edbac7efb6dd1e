#pragma once
// The receiver application: one object owns the windows, the drawing
// resources, the RTL-SDR binding, the worker threads and everything they share
// with the user-interface thread.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hf/records.h"
#include "hf/signal_detection.h"
#include "hf/ui_layout.h"
#include "platform/rtl.h"
#include "platform/wav.h"

// Messages the worker threads post to the main window.
inline constexpr UINT receiverEndedMessage = WM_APP + 1;
inline constexpr UINT searchEndedMessage = WM_APP + 2;
inline constexpr UINT audioSwitchedMessage = WM_APP + 3;

// The 50 ms display tick's timer, and the subclass id of the combo boxes.
inline constexpr UINT_PTR displayTimer = 1;
inline constexpr UINT_PTR comboSubclass = 2;

LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK plotProc(HWND, UINT, WPARAM, LPARAM);

class App {
public:
    App();
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // ---- start-up and shutdown (app/app.cpp)
    static std::wstring name(const hf::Device& device);

    // ---- window procedures and control factory (app/windows/window_proc.cpp, controls.cpp)
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handlePlotMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void control(int id, const wchar_t* className, const wchar_t* text, DWORD style);
    std::filesystem::path saveDialog(const wchar_t* filter, const wchar_t* defaultExtension);

    // ---- reception control on the UI thread (app/reception_control.cpp)
    void start();
    void cancel();
    void done();
    void lockControls(bool locked);
    void setStatus(const std::wstring& text);

    // ---- receiver thread and sinks (app/receiver_thread.cpp)
    struct StartRecord {
        App* app = nullptr;
        hf::Device dongle;
        uint32_t audioOutput = 0xFFFFFFFF;
    };
    static void receive(StartRecord record);

    // ---- applying the form (app/form.cpp)
    bool readConfig(bool stopScan, bool save);
    void settingsUI();
    int sel(int id);
    void refreshChoices();
    void sliderValueChanged(int id);

    // ---- settings file and favourites (app/settings_store.cpp)
    void load();
    void save();
    std::wstring calibrationKey(const hf::Device& device);
    void defaults();
    void favoriteList();

    // ---- display tick (app/tick.cpp)
    void tick();

    // ---- spectrum and waterfall plot (app/windows/plot.cpp)
    void paintPlot(HWND plot);
    float displayBin(const hf::Frame& frame, int x, int width, bool useForm);
    float waterfallBin(const hf::Frame& frame, int x, int width);

    // ---- main window construction and layout (app/windows/build.cpp, layout.cpp)
    void build();
    void combo(int id, const std::vector<std::wstring>& items, int sel);
    void updateFonts();
    void layout();
    static LRESULT CALLBACK comboProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR data);

    // ---- owner-drawn controls (app/windows/owner_drawn.cpp)
    void reliefFace(HDC dc, RECT rect, COLORREF top, COLORREF bottom, COLORREF border, bool pressed);
    void drawButton(const DRAWITEMSTRUCT& item);
    void drawButtonContents(const DRAWITEMSTRUCT& item);
    void paintCombo(HWND combo, HDC dc);

    // ---- main window painting and S-meter (app/windows/paint.cpp)
    BOOL paint();
    void drawMeter(HDC dc);

    // ---- command dispatch (app/command.cpp)
    void command(int id, int code);

    // ---- frequency entry control (app/windows/frequency_field.cpp)
    static LRESULT CALLBACK freqProc(HWND, UINT message, WPARAM, LPARAM, UINT_PTR subclassId,
                                     DWORD_PTR refData);
    void tuneDigit(int direction);
    int frequencyHit(HWND edit, int x);
    void frequencyText();

    // ---- plot mouse interaction (app/windows/plot_mouse.cpp)
    void mouseDown(int x, int y);
    void mouseMove(int x, int y, bool release);
    void plotTune(int x);

    // ---- dongle search (app/dongle_search.cpp)
    void scan();
    void scanDone();

    // ---- frequency scanner (app/scanner.cpp)
    void beginRadioScan();
    void advanceScan();
    void stopRadioScan();
    void scanTick(const hf::Frame& frame);

    // ---------------------------------------------------------------------
    // Windows and drawing resources
    HWND mainWindow = nullptr;
    HWND plotWindow = nullptr;
    std::map<int, HWND> controls;
    HFONT uiFont = nullptr;
    HFONT frequencyFont = nullptr;
    HFONT compactFrequencyFont = nullptr;
    HFONT paintFont = nullptr;
    float uiScale = 1.0f;
    HBRUSH backgroundBrush = nullptr;
    HBRUSH controlBrush = nullptr;
    HBRUSH signalBrush = nullptr;
    HBRUSH frequencyBrush = nullptr;

    // Files, library and threads
    std::filesystem::path programFolder;
    std::filesystem::path settingsFolder;
    std::filesystem::path settingsFile;
    std::unique_ptr<Rtl> rtl;
    std::thread receiverThread;
    std::thread searchThread;

    // Flags and values shared with the worker threads, and the squelch state
    std::atomic<bool> running{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> searching{false};
    std::atomic<float> volume{0.65f};
    std::atomic<bool> muted{false};
    std::atomic<bool> paused{false};
    std::atomic<bool> squelchOpen{true};
    int32_t squelch = 0;
    bool squelchGate = true;
    uint64_t squelchAboveMs = 0;
    std::atomic<bool> watchdogFired{false};
    uint64_t lastFrameMs = 0;

    // Locks: no code holds two of them at once
    std::mutex settingsMutex;
    std::mutex frameMutex;
    std::mutex deviceMutex;
    std::mutex wavMutex;

    // Settings, dongle and mailbox
    hf::Settings uiSettings;
    hf::Settings sharedSettings;
    int32_t settingsGeneration = 0;
    rtlsdr_dev_t* device = nullptr;
    hf::Frame latestFrame;
    uint32_t framesPublished = 0;
    uint32_t framesConsumed = 0;
    std::wstring lastError;
    std::wstring statusText = L"Arrêté — aucune clé ouverte";
    hf::Device selectedDevice{0, "RTLSDRBlog", "Blog V4", ""};
    std::wstring audioName;
    std::vector<hf::Device> devices;
    std::vector<std::pair<std::wstring, hf::Settings>> favorites;
    std::atomic<uint32_t> requestedOutput{0xFFFFFFFF};
    Wav recorder;
    bool closePending = false;

    // Display state
    std::vector<float> waterfall;
    std::vector<uint32_t> waterfallPixels;
    std::array<uint32_t, 1601> waterfallColours{};
    std::array<int32_t, 3> waterfallColoursKey{-1, -1, -1};
    int32_t waterfallContrast = 50;
    float snrShown = 0.0f;
    float toneShown = 0.0f;
    float wpmShown = 18.0f;
    int32_t waterfallColumns = 0;
    int32_t waterfallRows = 0;
    int32_t spectrumSpan = 480000;
    int32_t waterfallLight = 50;
    int32_t spectrumTop = -20;
    int32_t spectrumRange = 100;
    int32_t waterfallRange = 65;
    std::atomic<bool> outOfSpan{false};
    float currentLevel = -120.0f;
    hf::SpectralPresence presence;
    bool signalPresent = false;
    std::atomic<uint32_t> lostBlocks{0};
    std::atomic<uint32_t> underruns{0};
    std::wstring decodedText;
    int32_t layoutWidth = 1280;
    int32_t layoutHeight = 700;
    std::unique_ptr<hf::UiLayout> uiLayout;
    bool radioScanning = false;
    std::vector<hf::Settings> scanList;
    size_t scanIndex = 0;
    int32_t scanGeneration = 0;
    int32_t scanFrames = 0;
    uint64_t lastSignalMs = 0;
    uint64_t dwellStartMs = 0;
    int32_t scanDwellMs = 2000;
    int32_t dragMode = 0;
    int32_t dragStartX = 0;
    int32_t dragStartY = 0;
    int32_t dragStartTop = 0;
    uint32_t dragStartCentre = 0;
    uint32_t dragStartFrequency = 0;
    int32_t dragStartBandwidth = 0;
    uint64_t lastDragApplyMs = 0;

    // ---------------------------------------------------------------------
    // The display tick's own state and steps (app/tick.cpp)
    // Set while App::tick runs: a message box shown inside it pumps the timer.
    bool ticking = false;
    void showFrame(const hf::Frame& frame, uint64_t now);
    void updatePresence(const hf::Frame& frame, int lo, int hi, uint64_t now);
    void appendDecodedText(const std::string& cwText);
    void addWaterfallRow(const hf::Frame& frame);
    void repaintDisplays();
    std::wstring displayStatus(const hf::Frame& frame);

    // The scanner's own state (app/scanner.cpp)
    // Set while the scanner or a resume publishes the form without stopping
    // the scanner: a refused form shows a modal box, and the scanner must
    // take no step from the frames that arrive behind it.
    bool scanHeld = false;
    void resetScanDwell();
};

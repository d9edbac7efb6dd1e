#pragma once
// The ids of the main window's controls that the program reaches after
// building them.

namespace app {

inline constexpr int startButton = 100;
inline constexpr int frequencyField = 101;
inline constexpr int applyButton = 102;
inline constexpr int stepDownButton = 103;
inline constexpr int stepUpButton = 104;
inline constexpr int modeCombo = 105;       // hidden: the mode row sets it
inline constexpr int stepCombo = 106;       // hidden: the step row sets it
inline constexpr int bandwidthField = 107;
inline constexpr int gainCombo = 108;
inline constexpr int ppmField = 109;
inline constexpr int toneField = 110;
inline constexpr int wpmField = 111;
inline constexpr int autoSpeedBox = 112;
inline constexpr int thresholdCombo = 113;
inline constexpr int decodeBox = 114;
inline constexpr int dongleList = 115;
inline constexpr int searchButton = 116;
inline constexpr int audioOutputList = 117;
inline constexpr int volumeSlider = 118;
inline constexpr int favoritesList = 119;
inline constexpr int addFavoriteButton = 120;
inline constexpr int rangeMirrorCombo = 121;  // the visible scan ranges, without "Favoris"
inline constexpr int clearTextButton = 122;
inline constexpr int saveTextButton = 123;
inline constexpr int recordButton = 124;
inline constexpr int spanCombo = 125;       // hidden: the span row sets it
inline constexpr int statusField = 126;
inline constexpr int decodedTextField = 127;
inline constexpr int autoGainBox = 128;
inline constexpr int stopButton = 129;
inline constexpr int rangeCombo = 130;      // hidden: the range row and 121 set it
inline constexpr int rangeStartField = 131;
inline constexpr int rangeEndField = 132;
inline constexpr int dwellModeCombo = 133;
inline constexpr int scanStartButton = 134;  // its caption shows the scanner's state
inline constexpr int scanNextButton = 135;
inline constexpr int waterfallLightSlider = 136;
inline constexpr int pauseButton = 137;
inline constexpr int muteButton = 138;
inline constexpr int scanStopButton = 139;
inline constexpr int squelchSlider = 140;
inline constexpr int firstPresetButton = 400;
inline constexpr int lastPresetButton = 402;

}  // namespace app

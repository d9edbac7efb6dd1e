#pragma once
// The two commands that write files the user names: the decoded CW text and
// the WAV recording of the received audio.

class App;

namespace commands {

void saveDecodedText(App& app);
void toggleRecording(App& app);

}  // namespace commands

// Records `blocks` audio blocks of a 1 kHz tone into a WAV file, as the
// receiver would, so that outside tools can read the result. Exits 1 when a
// block or the final sizes cannot be written; the recording is finalised either way.

#include "platform/wav.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <numbers>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE BLOCKS\n", argv[0]);
        return 2;
    }
    const int blocks = std::stoi(argv[2]);
    Wav recorder;
    try {
        recorder.open(argv[1]);
        std::vector<float> block(2048);
        std::size_t n = 0;
        for (int b = 0; b < blocks; ++b) {
            for (float& s : block) {
                const double phase = 2 * std::numbers::pi * 1000.0 * static_cast<double>(n++) / 48000.0;
                s = 0.5f * static_cast<float>(std::sin(phase));
            }
            recorder.append(block);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (!recorder.close()) {
        std::fprintf(stderr, "%s\n", Wav::writeFailed);
        return 1;
    }
    return 0;
}

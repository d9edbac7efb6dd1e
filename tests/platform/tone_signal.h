#pragma once
// A 1 kHz test tone cut into audio blocks, and the measurements the sound
// tests make on a recording of it at 48 kHz.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

constexpr double toneHz = 1000.0;
constexpr double sampleRate = 48000.0;

// Consecutive blocks of one unbroken tone.
class ToneBlocks {
public:
    explicit ToneBlocks(float amplitude) : amplitude(amplitude) {}
    std::vector<float> next();

private:
    float amplitude;
    long long position = 0;
};

std::vector<float> silentBlock();

// When Wine feeds the sound server a little late, the server plays 5 ms of
// silence and then the rest of the stream unharmed. Such stalls belong to a
// loaded test machine, not to playback: this takes out every run of silence
// up to a second long, and not of whole blocks, across which a loud tone
// carries on seamlessly, and returns how many it took out.
std::size_t removeServerStalls(std::vector<int16_t>& recording);

// The tone's amplitude at every sample, from the sample and its two
// neighbours; exact for a steady tone, within 2 % of full scale while the
// gain ramps.
std::vector<double> envelope(const std::vector<int16_t>& recording);

// [begin, end) of a stretch of sound.
struct Span {
    std::size_t begin, end;
    std::size_t size() const { return end - begin; }
};

// How a failed check shows a stretch: "[begin, end)".
inline void PrintTo(const Span& span, std::ostream* os) { *os << '[' << span.begin << ", " << span.end << ')'; }

// The stretches where the envelope reaches `threshold`. A loaded sound server
// can still leave a dip that removeServerStalls cannot prove harmless (a stall
// that also lost samples, a phase jump at a zero crossing); a dip shorter than
// this does not split a stretch. Every silence that playback makes lasts a
// block (2048 samples) or more.
constexpr std::size_t shortestSilence = 480;
std::vector<Span> soundSpans(const std::vector<double>& envelope, double threshold);

double frequencyHz(const std::vector<int16_t>& recording, Span span);
double medianLevel(const std::vector<double>& envelope, Span span);
double lowestLevel(const std::vector<double>& envelope, Span span);
// The largest change of the envelope from one sample to the next: a click is
// a step far above a ramp's 1/480 of full level.
double steepestStep(const std::vector<double>& envelope, Span span);
// Samples taken to pass from 5 % to 95 % of `full` (rise) or back (fall),
// starting the search at `from`.
std::size_t riseLength(const std::vector<double>& envelope, std::size_t from, double full);
std::size_t fallLength(const std::vector<double>& envelope, std::size_t from, double full);

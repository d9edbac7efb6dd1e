#include "tone_signal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "hf/audio_blocks.h"

namespace {

constexpr double step = 2.0 * std::numbers::pi * toneHz / sampleRate;

template <class Reached>
std::size_t firstIndex(const std::vector<double>& envelope, std::size_t from, Reached reached) {
    std::size_t n = from;
    while (n < envelope.size() && !reached(envelope[n])) ++n;
    return n;
}

// The sine's own recurrence: x[n] = 2 cos(step) x[n-1] - x[n-2].
double predicted(double previous, double beforePrevious) { return 2.0 * std::cos(step) * previous - beforePrevious; }

// Whether removing [begin, end) leaves a loud tone that runs on unbroken.
bool seamless(const std::vector<int16_t>& x, std::size_t begin, std::size_t end) {
    if (begin < 2 || end + 1 >= x.size()) return false;
    const double p2 = x[begin - 2], p1 = x[begin - 1], n0 = x[end], n1 = x[end + 1];
    const bool loud = std::max({std::abs(p2), std::abs(p1), std::abs(n0), std::abs(n1)}) > 1000.0;
    return loud && std::abs(n0 - predicted(p1, p2)) < 100.0 && std::abs(n1 - predicted(n0, p1)) < 100.0;
}

}  // namespace

std::size_t removeServerStalls(std::vector<int16_t>& recording) {
    // Stalls come in steps of 5 ms and, on a loaded machine, last up to a
    // few hundred. A run of whole blocks stays: playback that silenced three
    // blocks (6144 samples, 128 periods of the 48-sample tone) would leave the
    // tone just as seamless, and a stall of whole blocks is rare enough to
    // let fail. The run of zeros may hold one of the tone's own zero crossings
    // at either end.
    constexpr std::size_t longestStall = 48000;
    std::size_t removed = 0;
    for (std::size_t begin = 0; begin < recording.size(); ++begin) {
        if (recording[begin] != 0) continue;
        std::size_t end = begin;
        while (end < recording.size() && recording[end] == 0) ++end;
        const std::size_t candidates[][2] = {{begin, end}, {begin + 1, end}, {begin, end - 1}};
        for (const auto& [from, to] : candidates) {
            const std::size_t length = to - from;
            if (length < 2 || length > longestStall || length % hf::audioBlockSize == 0 ||
                !seamless(recording, from, to))
                continue;
            recording.erase(recording.begin() + static_cast<std::ptrdiff_t>(from),
                            recording.begin() + static_cast<std::ptrdiff_t>(to));
            ++removed;
            end = from;
            break;
        }
        begin = end;
    }
    return removed;
}

std::vector<float> ToneBlocks::next() {
    std::vector<float> block(hf::audioBlockSize);
    for (float& sample : block) sample = amplitude * static_cast<float>(std::sin(step * static_cast<double>(position++)));
    return block;
}

std::vector<float> silentBlock() { return std::vector<float>(hf::audioBlockSize, 0.0f); }

std::vector<double> envelope(const std::vector<int16_t>& recording) {
    std::vector<double> result(recording.size());
    const double slope = 2.0 * std::sin(step);
    for (std::size_t n = 0; n < recording.size(); ++n) {
        if (n == 0 || n + 1 == recording.size()) {
            result[n] = std::abs(recording[n]);
            continue;
        }
        const double quadrature = (recording[n + 1] - recording[n - 1]) / slope;
        result[n] = std::hypot(static_cast<double>(recording[n]), quadrature);
    }
    return result;
}

std::vector<Span> soundSpans(const std::vector<double>& envelope, double threshold) {
    std::vector<Span> spans;
    std::size_t n = 0;
    while (true) {
        const std::size_t begin = firstIndex(envelope, n, [&](double e) { return e >= threshold; });
        if (begin == envelope.size()) return spans;
        n = firstIndex(envelope, begin, [&](double e) { return e < threshold; });
        if (!spans.empty() && begin - spans.back().end < shortestSilence)
            spans.back().end = n;
        else
            spans.push_back({begin, n});
    }
}

double frequencyHz(const std::vector<int16_t>& recording, Span span) {
    std::size_t first = 0, last = 0, crossings = 0;
    for (std::size_t n = span.begin + 1; n < span.end; ++n) {
        if (recording[n - 1] >= 0 || recording[n] < 0) continue;
        if (crossings++ == 0) first = n;
        last = n;
    }
    if (crossings < 2) return 0.0;
    return static_cast<double>(crossings - 1) * sampleRate / static_cast<double>(last - first);
}

double medianLevel(const std::vector<double>& envelope, Span span) {
    std::vector<double> part(envelope.begin() + span.begin, envelope.begin() + span.end);
    std::nth_element(part.begin(), part.begin() + part.size() / 2, part.end());
    return part[part.size() / 2];
}

double lowestLevel(const std::vector<double>& envelope, Span span) {
    return *std::min_element(envelope.begin() + span.begin, envelope.begin() + span.end);
}

double steepestStep(const std::vector<double>& envelope, Span span) {
    double steepest = 0.0;
    for (std::size_t n = span.begin + 1; n < span.end; ++n)
        steepest = std::max(steepest, std::abs(envelope[n] - envelope[n - 1]));
    return steepest;
}

std::size_t riseLength(const std::vector<double>& envelope, std::size_t from, double full) {
    const std::size_t low = firstIndex(envelope, from, [&](double e) { return e >= 0.05 * full; });
    return firstIndex(envelope, low, [&](double e) { return e >= 0.95 * full; }) - low;
}

std::size_t fallLength(const std::vector<double>& envelope, std::size_t from, double full) {
    const std::size_t high = firstIndex(envelope, from, [&](double e) { return e < 0.95 * full; });
    return firstIndex(envelope, high, [&](double e) { return e < 0.05 * full; }) - high;
}

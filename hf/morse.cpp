#include "hf/morse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace hf {

const std::map<std::string, char>& alphabet() {
    static const std::map<std::string, char> codes = {
        {".-", 'A'},     {"-...", 'B'},   {"-.-.", 'C'},   {"-..", 'D'},    {".", 'E'},
        {"..-.", 'F'},   {"--.", 'G'},    {"....", 'H'},   {"..", 'I'},     {".---", 'J'},
        {"-.-", 'K'},    {".-..", 'L'},   {"--", 'M'},     {"-.", 'N'},     {"---", 'O'},
        {".--.", 'P'},   {"--.-", 'Q'},   {".-.", 'R'},    {"...", 'S'},    {"-", 'T'},
        {"..-", 'U'},    {"...-", 'V'},   {".--", 'W'},    {"-..-", 'X'},   {"-.--", 'Y'},
        {"--..", 'Z'},   {"-----", '0'},  {".----", '1'},  {"..---", '2'},  {"...--", '3'},
        {"....-", '4'},  {".....", '5'},  {"-....", '6'},  {"--...", '7'},  {"---..", '8'},
        {"----.", '9'},  {"-..-.", '/'},  {".-.-.-", '.'}, {"--..--", ','}, {"..--..", '?'},
        {"-...-", '='},  {".-.-.", '+'},
    };
    return codes;
}

void Morse::reset(int wpm) {
    mark = false;
    timingKnown = false;
    wordSpaceDone = true;
    runMs = 0;
    ticks = 0;
    noise = 0.0001f;
    peak = 0.001f;
    env = 0.0f;
    dotMs = 1200.0 / std::clamp(wpm, 5, 60);
    lastMark = 0.0;
    lastWeight = 1.0;
    pattern.clear();
    std::vector<Run>().swap(runs);
    std::vector<double>().swap(markLens);
}

std::string Morse::tick(float x, const Settings& settings) {
    std::string out;
    const int32_t t = ticks;

    // 1. Fixed speed.
    if (!settings.AutoSpeed) {
        timingKnown = true;
        dotMs = 1200.0 / std::clamp(settings.WPM, 5, 60);
    }

    // 2. Envelope and warm-up noise.
    float ref;
    if (t == 0) {
        env = x;
        const float base = std::max(x, 0.000001f);
        noise = base + 0.02f * (env - base);
        ref = noise;
    } else {
        env += 0.2f * (x - env);
        if (t < 500) {
            noise += 0.02f * (env - noise);
            ref = noise;
        } else {
            ref = peak;
        }
    }

    // 3. Noise while the key is up: falls fast, rises slowly.
    if (!mark) {
        const float k = env < noise ? 0.002f : 0.0001f;
        noise += (env - noise) * k;
    }

    // 4. Decaying peak, never below the envelope.
    peak = std::max(0.999f * ref, env);

    // 5. Threshold.
    float thr;
    if (settings.AutoThreshold) {
        thr = std::max(noise + 0.32f * (peak - noise), 3.0f * noise);
    } else {
        thr = std::pow(10.0f, settings.Threshold / 20.0f);
    }

    // 6. Run length.
    runMs = std::min(runMs + 1, int32_t(1000000));

    // 7. Warm-up.
    if (t <= 999999) {
        ticks = t + 1;
        if (ticks <= 499) {
            mark = false;
            runMs = 0;
            return std::string();
        }
    }

    // 8. Key state with hysteresis.
    const bool newMark = mark ? env > thr * 0.8f : env > thr * 1.1f;

    // 9. End of a run.
    if (newMark != mark) {
        if (timingKnown) {
            process(Run{mark, runMs}, out, settings.AutoSpeed);
        } else {
            runs.push_back(Run{mark, runMs});
            if (mark && runMs > 11) markLens.push_back(double(runMs));
            if (markLens.size() > 15) acquire(out);
            if (runs.size() > 128) {
                runs.clear();
                markLens.clear();
            }
        }
        mark = newMark;
        runMs = 0;
    }

    // 10. Key up: the space is decoded while it lasts.
    if (!newMark) {
        if (timingKnown) {
            process(Run{false, runMs}, out, false);
        } else if (runMs > 1500 && !markLens.empty()) {
            acquire(out);
            process(Run{false, runMs}, out, false);
        }
    }

    return out;
}

void Morse::acquire(std::string& out) {
    if (markLens.empty()) return;

    std::sort(markLens.begin(), markLens.end());
    double c1 = markLens.front();
    double c2 = markLens.back();
    for (int round = 0; round < 8; ++round) {
        double dotSum = 0.0, dashSum = 0.0;
        int dotCount = 0, dashCount = 0;
        for (const double m : markLens) {
            if (std::abs(m - c2) <= std::abs(m - c1)) {
                dashSum += m;
                ++dashCount;
            } else {
                dotSum += m;
                ++dotCount;
            }
        }
        if (dotCount > 0) c1 = dotSum / dotCount;
        if (dashCount > 0) c2 = dashSum / dashCount;
    }
    if (c2 > 1.8 * c1) dotMs = std::clamp((c2 / 3.0 + c1) * 0.5, 20.0, 240.0);
    timingKnown = true;

    for (const Run& run : runs) process(run, out, false);
    runs.clear();
    markLens.clear();
}

void Morse::process(Run run, std::string& out, bool adapt) {
    const double d = dotMs;
    const double e = double(run.length);

    if (run.mark) {
        if (e < std::max(0.4 * d, 12.0) || e > 6.0 * d) {
            lastMark = 0.0;
            return;
        }
        pattern += e > 2.0 * d ? '-' : '.';
        if (pattern.size() > 8) {
            pattern.clear();
            out += '?';
            wordSpaceDone = false;
        }
        lastMark = e;
        lastWeight = e > 2.0 * d ? 3.0 : 1.0;
        return;
    }

    double g = 2.2 * d;
    if (adapt && lastMark > 0.0 && 0.5 * d < e && e < 1.6 * d) {
        const double m = (lastMark + e) / (1.0 + lastWeight);
        if (0.7 * d < m && m < 1.4 * d) {
            dotMs = std::clamp(0.94 * d + 0.06 * m, 20.0, 240.0);
            g = 2.2 * dotMs;
        }
        lastMark = 0.0;
    }

    if (e > g && !pattern.empty()) {
        const auto& codes = alphabet();
        const auto it = codes.find(pattern);
        out += it != codes.end() ? it->second : '?';
        pattern.clear();
        wordSpaceDone = false;
        if (e > 5.2 * dotMs) {
            out += ' ';
            wordSpaceDone = true;
        }
    } else if (e > 5.2 * dotMs && !wordSpaceDone) {
        out += ' ';
        wordSpaceDone = true;
    }
}

}  // namespace hf

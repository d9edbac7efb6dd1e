// The binding to the RTL-SDR library, exercised against the project's
// stand-in "rtlsdr.dll": loading, enumeration, the entry points the receiver
// relies on, the stand-in's call log, and a short reception into the receive
// chain. Each test writes its own stand-in configuration.
#include "platform/rtl.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <complex>
#include <fstream>
#include <functional>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "hf/receiver_dsp.h"

namespace {

using namespace std::chrono_literals;

std::filesystem::path programFolder() {
    std::wstring name(32768, L'\0');
    name.resize(GetModuleFileNameW(nullptr, name.data(), DWORD(name.size())));
    return std::filesystem::path(name).parent_path();
}

std::string loadFailure(const std::filesystem::path& folder) {
    try {
        Rtl rtl(folder);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "loaded";
}

// A read whose callback is a function object; returns the read's result.
using OnBuffer = std::function<void(unsigned char* buffer, uint32_t length)>;

int readWith(Rtl& rtl, rtlsdr_dev_t* dev, OnBuffer onBuffer) {
    const auto trampoline = [](unsigned char* buffer, uint32_t length, void* context) {
        (*static_cast<OnBuffer*>(context))(buffer, length);
    };
    return rtl.read_async(dev, trampoline, &onBuffer, 8, 32768);
}

// A read cancelled from its own callback after `buffers` buffers.
int readBuffers(Rtl& rtl, rtlsdr_dev_t* dev, int buffers, const OnBuffer& each = {}) {
    int seen = 0;
    return readWith(rtl, dev, [&](unsigned char* buffer, uint32_t length) {
        if (each) each(buffer, length);
        if (++seen == buffers) rtl.cancel_async(dev);
    });
}

std::vector<std::complex<float>> iq(const unsigned char* bytes, uint32_t length) {
    std::vector<std::complex<float>> samples(length / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = {(bytes[2 * i] - 127.5f) / 128.0f, (bytes[2 * i + 1] - 127.5f) / 128.0f};
    }
    return samples;
}

// The amplitude of the complex tone at `hz` in `samples`.
double amplitudeAt(const std::vector<std::complex<float>>& samples, double hz, double rate) {
    std::complex<double> sum;
    for (size_t n = 0; n < samples.size(); ++n) {
        sum += std::complex<double>(samples[n]) * std::polar(1.0, -2.0 * std::numbers::pi * hz * double(n) / rate);
    }
    return std::abs(sum) / double(samples.size());
}

double dB(double amplitude) { return 20.0 * std::log10(amplitude); }

class RtlStandin : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() / (std::string("hf-rtl-") + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }

    void TearDown() override {
        rtl.reset();
        SetEnvironmentVariableW(L"HF_STANDIN_CONFIG", nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Loads the stand-in with this configuration and a fresh call log.
    Rtl& load(const std::string& config) {
        rtl.reset();
        std::filesystem::remove(folder / "calls.log");
        std::ofstream(folder / "standin.ini") << "log = calls.log\n" << config;
        SetEnvironmentVariableW(L"HF_STANDIN_CONFIG", (folder / "standin.ini").c_str());
        rtl = std::make_unique<Rtl>(programFolder());
        return *rtl;
    }

    rtlsdr_dev_t* open(const hf::Device& device) {
        rtlsdr_dev_t* dev = nullptr;
        EXPECT_EQ(rtl->open_identity(&dev, device.index, device.manufacturer.c_str(), device.product.c_str(),
                                     device.serial.c_str()),
                  0);
        EXPECT_NE(dev, nullptr);
        return dev;
    }

    // Opened and made ready to stream at 960 kHz around `centre`.
    rtlsdr_dev_t* openTuned(uint32_t centre) {
        rtlsdr_dev_t* dev = open(rtl->devices().at(0));
        EXPECT_EQ(rtl->set_sample_rate(dev, 960000), 0);
        EXPECT_EQ(rtl->set_center_freq(dev, centre), 0);
        EXPECT_EQ(rtl->reset_buffer(dev), 0);
        return dev;
    }

    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        std::ifstream file(folder / "calls.log");
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }

    size_t linesWith(const std::string& fragment) const {
        size_t count = 0;
        for (const auto& line : log()) count += line.find(fragment) != std::string::npos;
        return count;
    }

    std::filesystem::path folder;
    std::unique_ptr<Rtl> rtl;
};

// --- Loading ---

TEST_F(RtlStandin, MissingLibraryIsReported) {
    EXPECT_EQ(loadFailure(folder), "Impossible de charger la bibliotheque RTL-SDR privee. Reinstallez cette application.");
}

TEST_F(RtlStandin, LibraryWithoutOpenIdentityIsIncomplete) {
    std::filesystem::copy_file(programFolder() / "rtlsdr_no_identity.dll", folder / "rtlsdr.dll");
    EXPECT_EQ(loadFailure(folder), "Bibliotheque RTL-SDR incomplete.");
}

TEST_F(RtlStandin, WithoutConfigurationOneBlogV4HearsTheBroadcast) {
    SetEnvironmentVariableW(L"HF_STANDIN_CONFIG", nullptr);
    rtl = std::make_unique<Rtl>(programFolder());
    const auto devices = rtl->devices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].manufacturer, "RTLSDRBlog");
    EXPECT_EQ(devices[0].product, "Blog V4");
    EXPECT_FALSE(devices[0].serial.empty());
    rtlsdr_dev_t* dev = openTuned(6070000 + 12000);
    std::vector<std::complex<float>> samples;
    readBuffers(*rtl, dev, 1, [&](unsigned char* buffer, uint32_t length) { samples = iq(buffer, length); });
    rtl->close(dev);
    EXPECT_NEAR(dB(amplitudeAt(samples, -12000, 960000)), -20.0, 0.5);  // the carrier
}

TEST_F(RtlStandin, ConfigurationBesideTheLibraryIsRead) {
    SetEnvironmentVariableW(L"HF_STANDIN_CONFIG", nullptr);
    std::filesystem::copy_file(programFolder() / "rtlsdr.dll", folder / "rtlsdr.dll");
    std::ofstream(folder / "rtlsdr-standin.ini") << "[dongle]\nmanufacturer = Nooelec\nproduct = NESDR SMArt v5\n";
    rtl = std::make_unique<Rtl>(folder);
    const auto devices = rtl->devices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].product, "NESDR SMArt v5");
}

TEST_F(RtlStandin, UnusableConfigurationLinesAreLoggedAndSkipped) {
    load("[dongle]\nserial = A1\ncolour = red\nrefuse = set_everything\nread_result = many\n"
         "[antenna]\nlength = 10\n"
         "[signal]\nkind = cw\nfrequency = 7023000\n"
         "[signal]\nkind = whistle\n");
    const auto devices = rtl->devices();  // the configuration is read on the first call
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].serial, "A1");
    EXPECT_EQ(linesWith("CONFIG"), 6u);
}

// --- Enumeration ---

TEST_F(RtlStandin, UnreadableDongleIsLeftOut) {
    load("[dongle]\nserial = A1\n"
         "[dongle]\nmanufacturer = Nooelec\nproduct = NESDR SMArt v5\nserial = B2\nrefuse = get_device_usb_strings\n"
         "[dongle]\nproduct = Blog V3\nserial = C3\n");
    const auto devices = rtl->devices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].index, 0u);
    EXPECT_EQ(devices[0].product, "Blog V4");
    EXPECT_EQ(devices[0].serial, "A1");
    EXPECT_EQ(devices[1].index, 2u);
    EXPECT_EQ(devices[1].manufacturer, "RTLSDRBlog");
    EXPECT_EQ(devices[1].product, "Blog V3");
    EXPECT_EQ(devices[1].serial, "C3");
}

TEST_F(RtlStandin, NoDongleGivesAnEmptyList) {
    load("");
    EXPECT_TRUE(rtl->devices().empty());
}

TEST_F(RtlStandin, StringsAreTakenWholeButNeverPastTheirBuffer) {
    // 256 bytes or more fill the buffer without a terminator.
    load("[dongle]\nmanufacturer = " + std::string(255, 'm') + "\nproduct = " + std::string(256, 'p') +
         "\nserial = " + std::string(300, 's') + "\n[dongle]\nmanufacturer = Generic\nproduct = RTL2838\nserial =\n");
    const auto devices = rtl->devices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].manufacturer, std::string(255, 'm'));
    EXPECT_EQ(devices[0].product, std::string(256, 'p'));
    EXPECT_EQ(devices[0].serial, std::string(256, 's'));
    EXPECT_EQ(devices[1].product, "RTL2838");
    EXPECT_EQ(devices[1].serial, "");
}

// --- Opening ---

TEST_F(RtlStandin, OpenIdentityOpensOnlyTheNamedFreeDongle) {
    load("[dongle]\nserial = A1\n[dongle]\nproduct = Blog V3\nserial = B2\n"
         "[dongle]\nserial = C3\nrefuse = open_identity\n");
    struct Case {
        uint32_t index;
        const char* manufacturer;
        const char* product;
        const char* serial;
    };
    for (const Case& wrong : {Case{1, "RTLSDRBlog", "Blog V4", "A1"}, Case{0, "RTLSDRblog", "Blog V4", "A1"},
                              Case{0, "RTLSDRBlog", "Blog V3", "A1"}, Case{0, "RTLSDRBlog", "Blog V4", "A1 "},
                              Case{0, "RTLSDRBlog", "Blog V4", ""}, Case{7, "RTLSDRBlog", "Blog V4", "A1"},
                              Case{2, "RTLSDRBlog", "Blog V4", "C3"}}) {
        SCOPED_TRACE(std::to_string(wrong.index) + " " + wrong.manufacturer + "/" + wrong.product + "/" + wrong.serial);
        int sentinel = 0;
        rtlsdr_dev_t* dev = reinterpret_cast<rtlsdr_dev_t*>(&sentinel);  // must be cleared
        EXPECT_NE(rtl->open_identity(&dev, wrong.index, wrong.manufacturer, wrong.product, wrong.serial), 0);
        EXPECT_EQ(dev, nullptr);
    }

    const auto devices = rtl->devices();
    rtlsdr_dev_t* first = open(devices[0]);
    rtlsdr_dev_t* busy = nullptr;
    EXPECT_NE(rtl->open_identity(&busy, 0, "RTLSDRBlog", "Blog V4", "A1"), 0);
    EXPECT_EQ(busy, nullptr);
    rtlsdr_dev_t* other = open(devices[1]);  // another dongle is not busy

    std::array<char, 256> manufacturer{}, product{}, serial{};
    EXPECT_EQ(rtl->get_usb_strings(other, manufacturer.data(), product.data(), serial.data()), 0);
    EXPECT_STREQ(product.data(), "Blog V3");
    EXPECT_STREQ(serial.data(), "B2");

    EXPECT_EQ(rtl->close(first), 0);
    rtlsdr_dev_t* again = open(devices[0]);
    EXPECT_EQ(rtl->close(again), 0);
    EXPECT_EQ(rtl->close(other), 0);
    EXPECT_EQ(linesWith("(busy)"), 1u);
    EXPECT_EQ(linesWith("VIOLATION"), 0u);  // a refused open is no breach
}

TEST_F(RtlStandin, StringsCanChangeOnceOpen) {
    load("[dongle]\nserial = A1\nopened_serial = Z9\n");
    rtlsdr_dev_t* dev = open(rtl->devices().at(0));
    std::array<char, 256> manufacturer{}, product{}, serial{};
    EXPECT_EQ(rtl->get_usb_strings(dev, manufacturer.data(), product.data(), serial.data()), 0);
    EXPECT_STREQ(manufacturer.data(), "RTLSDRBlog");
    EXPECT_STREQ(serial.data(), "Z9");
    rtl->close(dev);
}

// --- Settings ---

TEST_F(RtlStandin, UnchangedCorrectionGivesMinusTwo) {
    load("[dongle]\n");
    rtlsdr_dev_t* dev = open(rtl->devices().at(0));
    EXPECT_EQ(rtl->set_freq_correction(dev, -4), 0);
    EXPECT_EQ(rtl->set_freq_correction(dev, -4), -2);
    EXPECT_EQ(rtl->set_freq_correction(dev, 0), 0);
    rtl->close(dev);
}

TEST_F(RtlStandin, TunerGainsComeAsCountThenList) {
    load("[dongle]\nserial = A1\n[dongle]\nserial = B2\ngains = 0, 100, 350, 370, 490\n"
         "[dongle]\nserial = C3\ngains_count = 200\n");
    const auto devices = rtl->devices();
    const auto gainsOf = [&](const hf::Device& device) {
        rtlsdr_dev_t* dev = open(device);
        std::vector<int> gains(size_t(std::max(rtl->get_tuner_gains(dev, nullptr), 0)));
        if (gains.size() <= 127) rtl->get_tuner_gains(dev, gains.data());
        rtl->close(dev);
        return gains;
    };
    const auto usual = gainsOf(devices[0]);
    ASSERT_EQ(usual.size(), 29u);
    EXPECT_EQ(usual.front(), 0);
    EXPECT_EQ(usual.back(), 496);
    EXPECT_TRUE(std::is_sorted(usual.begin(), usual.end()));
    EXPECT_EQ(gainsOf(devices[1]), (std::vector<int>{0, 100, 350, 370, 490}));
    EXPECT_EQ(gainsOf(devices[2]).size(), 200u);
}

TEST_F(RtlStandin, EachSettingCanBeRefusedAlone) {
    struct Case {
        const char* entryPoint;
        std::function<int(Rtl&, rtlsdr_dev_t*)> call;
    };
    const std::vector<Case> cases = {
        {"set_sample_rate", [](Rtl& r, rtlsdr_dev_t* d) { return r.set_sample_rate(d, 960000); }},
        {"set_center_freq", [](Rtl& r, rtlsdr_dev_t* d) { return r.set_center_freq(d, 7035000); }},
        {"set_freq_correction", [](Rtl& r, rtlsdr_dev_t* d) { return r.set_freq_correction(d, -4); }},
        {"set_tuner_gain_mode", [](Rtl& r, rtlsdr_dev_t* d) { return r.set_tuner_gain_mode(d, 1); }},
        {"set_tuner_gain", [](Rtl& r, rtlsdr_dev_t* d) { return r.set_tuner_gain(d, 280); }},
        {"set_agc_mode", [](Rtl& r, rtlsdr_dev_t* d) { return r.set_agc_mode(d, 0); }},
        {"set_direct_sampling", [](Rtl& r, rtlsdr_dev_t* d) { return r.set_direct_sampling(d, 2); }},
        {"set_bias_tee", [](Rtl& r, rtlsdr_dev_t* d) { return r.set_bias_tee(d, 0); }},
        {"reset_buffer", [](Rtl& r, rtlsdr_dev_t* d) { return r.reset_buffer(d); }},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.entryPoint);
        load(std::string("[dongle]\nserial = A1\nrefuse = ") + refused.entryPoint + "\n[dongle]\nserial = B2\n");
        const auto devices = rtl->devices();
        rtlsdr_dev_t* refusing = open(devices[0]);
        rtlsdr_dev_t* willing = open(devices[1]);
        for (const auto& other : cases) {
            EXPECT_EQ(other.call(*rtl, refusing) != 0, &other == &refused) << other.entryPoint;
            EXPECT_EQ(other.call(*rtl, willing), 0) << other.entryPoint;
        }
        rtl->close(refusing);
        rtl->close(willing);
    }
}

// --- Reading ---

TEST_F(RtlStandin, CancelFromTheCallbackEndsTheRead) {
    load("[dongle]\n");
    rtlsdr_dev_t* dev = openTuned(7000000);
    std::vector<uint32_t> lengths;
    EXPECT_EQ(readBuffers(*rtl, dev, 3, [&](unsigned char*, uint32_t length) { lengths.push_back(length); }), 0);
    EXPECT_EQ(lengths, (std::vector<uint32_t>{32768, 32768, 32768}));
    rtl->close(dev);
}

TEST_F(RtlStandin, CancelFromAnotherThreadEndsTheRead) {
    load("[dongle]\n");
    rtlsdr_dev_t* dev = openTuned(7000000);
    std::atomic<int> seen = 0;
    std::atomic<int> seenWhenCancelled = 0;
    std::thread canceller([&] {
        while (seen < 2) std::this_thread::sleep_for(1ms);
        rtl->cancel_async(dev);
        seenWhenCancelled = seen.load();
    });
    EXPECT_GE(readWith(*rtl, dev, [&](unsigned char*, uint32_t) { ++seen; }), 0);
    canceller.join();
    EXPECT_LE(seen, seenWhenCancelled + 1);  // at most the buffer already on its way
    rtl->close(dev);
}

TEST_F(RtlStandin, CancelBeforeTheReadIsHarmless) {
    load("[dongle]\n");
    rtlsdr_dev_t* dev = openTuned(7000000);
    EXPECT_EQ(rtl->cancel_async(dev), 0);
    int seen = 0;
    EXPECT_EQ(readBuffers(*rtl, dev, 2, [&](unsigned char*, uint32_t) { ++seen; }), 0);
    EXPECT_EQ(seen, 2);
    rtl->close(dev);
}

TEST_F(RtlStandin, UsbFailureComesBackFromTheRead) {
    load("[dongle]\nread_ends_after = 5\nread_result = -4\n");
    rtlsdr_dev_t* dev = openTuned(7000000);
    int seen = 0;
    EXPECT_EQ(readWith(*rtl, dev, [&](unsigned char*, uint32_t) { ++seen; }), -4);
    EXPECT_EQ(seen, 5);
    rtl->close(dev);
}

TEST_F(RtlStandin, StalledDongleBlocksUntilCancelled) {
    load("[dongle]\nstall_after = 2\n");
    rtlsdr_dev_t* dev = openTuned(7000000);
    std::atomic<int> seen = 0;
    std::thread canceller([&] {
        while (seen < 2) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(150ms);  // several buffers' time without one
        rtl->cancel_async(dev);
    });
    EXPECT_EQ(readWith(*rtl, dev, [&](unsigned char*, uint32_t) { ++seen; }), 0);
    canceller.join();
    EXPECT_EQ(seen, 2);
    rtl->close(dev);
}

// --- The call log ---

TEST_F(RtlStandin, LogShowsTheReceiverSequenceInOrder) {
    load("[dongle]\nserial = A1\n");
    const auto device = rtl->devices().at(0);
    rtlsdr_dev_t* dev = open(device);
    std::array<char, 256> manufacturer{}, product{}, serial{};
    rtl->get_usb_strings(dev, manufacturer.data(), product.data(), serial.data());
    rtl->set_bias_tee(dev, 0);
    rtl->set_agc_mode(dev, 0);
    rtl->set_sample_rate(dev, 960000);
    rtl->set_direct_sampling(dev, 0);
    rtl->set_freq_correction(dev, -4);
    rtl->set_center_freq(dev, 7035000);
    rtl->set_tuner_gain_mode(dev, 1);
    std::vector<int> gains(size_t(rtl->get_tuner_gains(dev, nullptr)));
    rtl->get_tuner_gains(dev, gains.data());
    rtl->set_tuner_gain(dev, gains[15]);
    rtl->reset_buffer(dev);
    readBuffers(*rtl, dev, 2);
    rtl->set_center_freq(dev, 7135000);  // a retune
    rtl->reset_buffer(dev);
    readBuffers(*rtl, dev, 1);
    rtl->close(dev);

    const std::vector<std::string> expected = {
        "rtlsdr_get_device_count() = 1",
        "rtlsdr_get_device_usb_strings(0) = 0",
        "rtlsdr_open_identity(0, \"RTLSDRBlog\", \"Blog V4\", \"A1\") = 0 #1",
        "rtlsdr_get_usb_strings(#1) = 0",
        "rtlsdr_set_bias_tee(#1, 0) = 0",
        "rtlsdr_set_agc_mode(#1, 0) = 0",
        "rtlsdr_set_sample_rate(#1, 960000) = 0",
        "rtlsdr_set_direct_sampling(#1, 0) = 0",
        "rtlsdr_set_freq_correction(#1, -4) = 0",
        "rtlsdr_set_center_freq(#1, 7035000) = 0",
        "rtlsdr_set_tuner_gain_mode(#1, 1) = 0",
        "rtlsdr_get_tuner_gains(#1, null) = 29",
        "rtlsdr_get_tuner_gains(#1, array) = 29",
        "rtlsdr_set_tuner_gain(#1, 280) = 0",
        "rtlsdr_reset_buffer(#1) = 0",
        "rtlsdr_read_async(#1) streams at 960000 Hz around 7035000 Hz",
        "rtlsdr_cancel_async(#1) = 0",
        "rtlsdr_read_async(#1, 8, 32768) = 0",
        "rtlsdr_set_center_freq(#1, 7135000) = 0",
        "rtlsdr_reset_buffer(#1) = 0",
        "rtlsdr_read_async(#1) streams at 960000 Hz around 7135000 Hz",
        "rtlsdr_cancel_async(#1) = 0",
        "rtlsdr_read_async(#1, 8, 32768) = 0",
        "rtlsdr_close(#1) = 0",
    };
    const auto lines = log();
    auto next = lines.begin();
    for (const auto& line : expected) {
        next = std::find(next, lines.end(), line);
        ASSERT_NE(next, lines.end()) << "missing or out of order: " << line;
    }
    EXPECT_EQ(linesWith("VIOLATION"), 0u);
}

TEST_F(RtlStandin, BreachesOfTheContractAreLogged) {
    struct Case {
        const char* breach;
        std::function<void(Rtl&, rtlsdr_dev_t*)> misuse;
        const char* logged;
    };
    const std::vector<Case> cases = {
        {"setter from the callback",
         [](Rtl& r, rtlsdr_dev_t* d) {
             r.reset_buffer(d);
             readBuffers(r, d, 1, [&](unsigned char*, uint32_t) { EXPECT_NE(r.set_center_freq(d, 7100000), 0); });
         },
         "VIOLATION rtlsdr_set_center_freq(#1, 7100000) while rtlsdr_read_async runs, from its callback"},
        {"setter from another thread",
         [](Rtl& r, rtlsdr_dev_t* d) {
             r.reset_buffer(d);
             std::atomic<bool> started = false;
             std::thread meddler([&] {
                 while (!started) std::this_thread::sleep_for(1ms);
                 EXPECT_NE(r.set_tuner_gain(d, 0), 0);
                 r.cancel_async(d);
             });
             readWith(r, d, [&](unsigned char*, uint32_t) { started = true; });
             meddler.join();
         },
         "VIOLATION rtlsdr_set_tuner_gain(#1, 0) while rtlsdr_read_async runs, from another thread"},
        {"close during the read",
         [](Rtl& r, rtlsdr_dev_t* d) {
             r.reset_buffer(d);
             readBuffers(r, d, 1, [&](unsigned char*, uint32_t) { EXPECT_NE(r.close(d), 0); });
         },
         "VIOLATION rtlsdr_close(#1) while rtlsdr_read_async runs"},
        {"cancel without a handle", [](Rtl& r, rtlsdr_dev_t*) { r.cancel_async(nullptr); },
         "VIOLATION rtlsdr_cancel_async(null) without an open handle"},
        {"read without a reset", [](Rtl& r, rtlsdr_dev_t* d) { readBuffers(r, d, 1); },
         "VIOLATION rtlsdr_read_async(#1) without rtlsdr_reset_buffer"},
        {"setting after the reset",
         [](Rtl& r, rtlsdr_dev_t* d) {
             r.reset_buffer(d);
             r.set_center_freq(d, 7100000);
             readBuffers(r, d, 1);
         },
         "VIOLATION rtlsdr_read_async(#1) without rtlsdr_reset_buffer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.breach);
        load("[dongle]\n");
        rtlsdr_dev_t* dev = open(rtl->devices().at(0));
        c.misuse(*rtl, dev);
        EXPECT_EQ(rtl->close(dev), 0);
        EXPECT_EQ(linesWith(c.logged), 1u);
        EXPECT_EQ(linesWith("VIOLATION"), 1u);
    }
}

// --- The scene ---

TEST_F(RtlStandin, SignalsAppearAtTheirOffsetAndLevel) {
    load("[dongle]\n"
         "[signal]\nkind = carrier\nfrequency = 7010000\nlevel = -20\n"
         "[signal]\nkind = usb\nfrequency = 7050000\ntone = 1500\nlevel = -26\n"
         "[signal]\nkind = lsb\nfrequency = 6950000\ntone = 2000\nlevel = -32\n"
         "[signal]\nkind = carrier\nfrequency = 7600000\nlevel = -10\n");  // outside the band: not received
    rtlsdr_dev_t* dev = openTuned(7000000);
    std::vector<std::complex<float>> samples;
    readBuffers(*rtl, dev, 1, [&](unsigned char* buffer, uint32_t length) { samples = iq(buffer, length); });
    rtl->close(dev);
    ASSERT_EQ(samples.size(), 16384u);
    EXPECT_NEAR(dB(amplitudeAt(samples, 10000, 960000)), -20.0, 0.5);
    EXPECT_NEAR(dB(amplitudeAt(samples, 51500, 960000)), -26.0, 0.5);
    EXPECT_NEAR(dB(amplitudeAt(samples, -52000, 960000)), -32.0, 0.5);
    EXPECT_LT(dB(amplitudeAt(samples, -10000, 960000)), -50.0);  // no image
    EXPECT_LT(dB(amplitudeAt(samples, 48500, 960000)), -50.0);   // no other sideband
    EXPECT_LT(dB(amplitudeAt(samples, 0, 960000)), -45.0);       // zero sits at 127.5
}

TEST_F(RtlStandin, NoiseHasItsPower) {
    load("[dongle]\n[signal]\nkind = noise\nlevel = -30\n");
    rtlsdr_dev_t* dev = openTuned(7000000);
    std::vector<std::complex<float>> samples;
    readBuffers(*rtl, dev, 1, [&](unsigned char* buffer, uint32_t length) { samples = iq(buffer, length); });
    rtl->close(dev);
    double power = 0.0;
    std::complex<double> mean;
    for (const auto& s : samples) {
        power += std::norm(s);
        mean += std::complex<double>(s);
    }
    EXPECT_NEAR(10.0 * std::log10(power / double(samples.size())), -30.0, 0.5);
    EXPECT_LT(std::abs(mean) / double(samples.size()), 0.002);
}

TEST_F(RtlStandin, CwIsKeyedAtItsSpeed) {
    // "E " at 12 WPM: a 100 ms dot, then a 700 ms word gap, over and over.
    load("[dongle]\n[signal]\nkind = cw\nfrequency = 7010000\nlevel = -20\ntext = E\nwpm = 12\n");
    rtlsdr_dev_t* dev = openTuned(7000000);
    std::vector<double> levels;  // per buffer of about 17 ms
    readBuffers(*rtl, dev, 94, [&](unsigned char* buffer, uint32_t length) {
        levels.push_back(dB(amplitudeAt(iq(buffer, length), 10000, 960000)));
    });
    rtl->close(dev);
    int keyed = 0;
    for (double level : levels) keyed += level > -26.0;
    const double bufferMs = 16384.0 / 960.0;
    EXPECT_NEAR(keyed, 2 * 100.0 / bufferMs, 1.5);  // two cycles of 800 ms
    EXPECT_LT(*std::min_element(levels.begin(), levels.end()), -60.0);
}

// --- A short reception ---

TEST_F(RtlStandin, ReceptionCarriesTheStationsTone) {
    struct Case {
        const char* signal;
        uint32_t station;
        int32_t mode;
        double tone;
        double expectedAmplitude;  // AM: the levelled audio; FM: 2000 Hz of 2500 at half gain
        double expectedLevel;      // dBFS in the passband
    };
    for (const Case& c : {Case{"kind = am\nfrequency = 6070000\nlevel = -20\ntone = 1000\ndepth = 0.8\n", 6070000, 0,
                               1000, 0.18, -20.0 + 10.0 * std::log10(1.0 + 2.0 * 0.4 * 0.4)},
                          Case{"kind = fm\nfrequency = 27065000\nlevel = -30\ntone = 1200\ndeviation = 2000\n", 27065000,
                               1, 1200, 0.4, -30.0}}) {
        SCOPED_TRACE(c.signal);
        load(std::string("[dongle]\n[signal]\n") + c.signal + "[signal]\nkind = noise\nlevel = -45\n");
        hf::Settings settings;
        settings.Frequency = c.station;
        settings.center = c.station;
        settings.Mode = c.mode;
        settings.Bandwidth = 8000;
        hf::ReceiverDSP dsp;
        dsp.configure(settings);
        std::vector<float> audio;
        std::vector<float> levels;
        dsp.onAudio = [&](const std::vector<float>& block) { audio.insert(audio.end(), block.begin(), block.end()); };
        dsp.onFrame = [&](hf::Frame frame) { levels.push_back(frame.level); };

        rtlsdr_dev_t* dev = openTuned(c.station + 12000);  // as the receiver tunes
        readBuffers(*rtl, dev, 88, [&](unsigned char* buffer, uint32_t length) { dsp.bytes(buffer, length); });
        rtl->close(dev);

        ASSERT_GE(audio.size(), 48000u);
        ASSERT_GE(levels.size(), 12u);
        const std::vector<float> settled(audio.end() - 24000, audio.end());  // the last half second
        std::vector<std::complex<float>> asComplex(settled.begin(), settled.end());
        double power = 0.0;
        for (float s : settled) power += double(s) * s;
        power /= double(settled.size());
        const double toneAmplitude = 2.0 * amplitudeAt(asComplex, c.tone, 48000);
        EXPECT_NEAR(toneAmplitude, c.expectedAmplitude, 0.1 * c.expectedAmplitude);
        EXPECT_GT(toneAmplitude * toneAmplitude / 2.0, 0.8 * power);  // the tone is most of the audio
        EXPECT_NEAR(levels.back(), c.expectedLevel, 1.5);
    }
}

}  // namespace

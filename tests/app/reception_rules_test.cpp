#include "app/reception_rules.h"

#include "thrown.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using app_test::thrownMessage;

const hf::Device first{0, "RTLSDRBlog", "Blog V4", "00000001"};
const hf::Device second{1, "RTLSDRBlog", "Blog V4", "00000002"};

class StartDongle : public testing::Test {
protected:
    const std::vector<hf::Device> devices{first, second};
    hf::Device confirmed{9, "RTLSDRBlog", "Blog V4", "00000002"};
};

TEST_F(StartDongle, TheConfirmedEntryIsOpenedWithItsListIndex) {
    const app::DongleChoice choice = app::startDongle(2, devices, confirmed);
    ASSERT_TRUE(choice.dongle);
    EXPECT_EQ(choice.dongle->index, 1u);
    EXPECT_EQ(choice.dongle->serial, "00000002");
    EXPECT_EQ(choice.refusal, L"");
}

TEST_F(StartDongle, NoEntryChosenIsRefused) {
    for (int selection : {-1, 0, 3}) {
        const app::DongleChoice choice = app::startDongle(selection, devices, confirmed);
        EXPECT_FALSE(choice.dongle) << selection;
        EXPECT_EQ(choice.refusal, L"Choisissez explicitement une clé dans Source radio.");
    }
}

TEST_F(StartDongle, AnotherDongleThanTheConfirmedOneIsRefused) {
    const app::DongleChoice choice = app::startDongle(1, devices, confirmed);
    EXPECT_FALSE(choice.dongle);
    EXPECT_EQ(choice.refusal, L"Sélection non confirmée — choisissez la clé dans le menu.");
}

TEST(ReceptionControl, AudioOutputEntryToWaveOutDevice) {
    EXPECT_EQ(app::requestedOutput(0), 0xFFFFFFFFu);
    EXPECT_EQ(app::requestedOutput(-1), 0xFFFFFFFFu);
    EXPECT_EQ(app::requestedOutput(1), 0u);
    EXPECT_EQ(app::requestedOutput(3), 2u);
}

TEST(ReceptionControl, CaptionsAndStoppedStatus) {
    EXPECT_EQ(std::wstring(app::startCaption(true)), L"● EN ÉCOUTE");
    EXPECT_EQ(std::wstring(app::startCaption(false)), L"▶ DÉMARRER");
    EXPECT_EQ(std::wstring(app::pauseCaption(true)), L"▶ Reprise");
    EXPECT_EQ(std::wstring(app::pauseCaption(false)), L"Ⅱ PAUSE");
    EXPECT_EQ(app::stoppedStatus(L""), L"Arrêté — clé libérée");
    EXPECT_EQ(app::stoppedStatus(L"Gain refuse."), L"Gain refuse.");
}

struct ChangeCase {
    const char* name;
    void (*change)(hf::Settings&);
    bool retune;
};

void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

class SettingsChange : public testing::TestWithParam<ChangeCase> {};

TEST_P(SettingsChange, RetunesOnlyForWhatTheDongleApplies) {
    hf::Settings applied;
    applied.center = 7000000;
    hf::Settings next = applied;
    GetParam().change(next);
    EXPECT_EQ(app::needsRetune(next, applied), GetParam().retune);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SettingsChange,
    testing::Values(ChangeCase{"centre", [](hf::Settings& s) { s.center = 7100000; }, true},
                    ChangeCase{"correction", [](hf::Settings& s) { s.PPM = 3; }, true},
                    ChangeCase{"gain", [](hf::Settings& s) { s.Gain = 490; }, true},
                    ChangeCase{"automatic gain", [](hf::Settings& s) { s.RFAuto = true; }, true},
                    ChangeCase{"frequency", [](hf::Settings& s) { s.Frequency = 7100000; }, false},
                    ChangeCase{"mode", [](hf::Settings& s) { s.Mode = 2; }, false},
                    ChangeCase{"bandwidth", [](hf::Settings& s) { s.Bandwidth = 2700; }, false},
                    ChangeCase{"tone", [](hf::Settings& s) { s.Tone = 600; }, false},
                    ChangeCase{"speed", [](hf::Settings& s) { s.WPM = 25; }, false},
                    ChangeCase{"decoder", [](hf::Settings& s) { s.Decode = false; }, false},
                    ChangeCase{"nothing", [](hf::Settings&) {}, false}));

TEST(TunerGain, NearestGainPrefersTheEarlierOfTwo) {
    const std::vector<int> tuner{0, 100, 350, 370, 490};
    EXPECT_EQ(app::nearestGain(tuner, 360), 350);
    EXPECT_EQ(app::nearestGain(tuner, 361), 370);
    EXPECT_EQ(app::nearestGain(tuner, 370), 370);
    EXPECT_EQ(app::nearestGain(tuner, -100), 0);
    EXPECT_EQ(app::nearestGain(tuner, 2147483647), 490);
    EXPECT_EQ(app::nearestGain(std::vector<int>{490, 0}, 245), 490);
}

TEST(TunerGain, AnEmptyListIsRefused) {
    EXPECT_EQ(thrownMessage([] { app::nearestGain({}, 280); }), "Liste des gains invalide.");
}

struct ReadEndCase {
    const char* name;
    const char* callbackError;
    bool watchdogFired, stopRequested;
    int result;
    bool retune;
    const char* failure;  // nullptr when the loop goes on or leaves
    app::AfterRead next;
};

void PrintTo(const ReadEndCase& c, std::ostream* os) { *os << c.name; }

class AfterRead : public testing::TestWithParam<ReadEndCase> {};

TEST_P(AfterRead, DecidesInTheReceiversOrder) {
    const ReadEndCase& c = GetParam();
    const app::ReadEnd end{c.callbackError, c.watchdogFired, c.stopRequested, c.result, c.retune};
    if (c.failure)
        EXPECT_EQ(thrownMessage([&] { app::afterRead(end); }), c.failure);
    else
        EXPECT_EQ(app::afterRead(end), c.next);
}

constexpr auto leave = app::AfterRead::leave;
constexpr auto retune = app::AfterRead::retune;

INSTANTIATE_TEST_SUITE_P(
    Ends, AfterRead,
    testing::Values(
        ReadEndCase{"callback error first", "Perte de la sortie audio.", true, true, -4, true,
                    "Perte de la sortie audio.", leave},
        ReadEndCase{"watchdog before stop", "", true, true, 0, false,
                    "Aucune donnee radio depuis 10 secondes : reception et scan arretes.", leave},
        ReadEndCase{"stop leaves quietly", "", false, true, -4, false, nullptr, leave},
        ReadEndCase{"USB error", "", false, false, -4, true,
                    "Erreur USB (code -4). Reception et scan arretes.", leave},
        ReadEndCase{"ended by itself", "", false, false, 0, false,
                    "Flux USB interrompu. Verifiez la cle choisie.", leave},
        ReadEndCase{"retune", "", false, false, 0, true, nullptr, retune}));

}  // namespace

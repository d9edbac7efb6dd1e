#include "app/rules/reception_rules.h"

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

TEST(SettingsChange, WithoutACentreTheTunedFrequencyIsTheDonglesCentre) {
    hf::Settings applied;
    applied.center = 0;
    hf::Settings next = applied;
    next.Frequency += 5000;
    EXPECT_TRUE(app::needsRetune(next, applied));
}

const hf::Device v3{0, "RTLSDRBlog", "Blog V3", "V3-0002"};
const hf::Device generic{0, "Realtek", "RTL2838UHIDIR", "00000003"};
const char hfRefused[] =
    "HF non configuree pour ce modele. Utilisez 25 a 52 MHz ou une Blog V4 / SMArt v5 reconnue.";

hf::Settings tuned(uint32_t frequency, uint32_t centre) {
    hf::Settings s;
    s.Frequency = frequency;
    s.center = centre;
    return s;
}

struct PathCase {
    const char* name;
    hf::Device dongle;
    uint32_t frequency, centre;
    uint32_t receivedCentre;  // the centre after the fallback
    uint32_t mode;
    const char* refusal;      // nullptr when the dongle can receive
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class ReceptionPath : public testing::TestWithParam<PathCase> {};

TEST_P(ReceptionPath, IsCheckedWhereTheDongleWillBeTuned) {
    const PathCase& c = GetParam();
    const hf::Settings s = tuned(c.frequency, c.centre);
    EXPECT_EQ(app::onReceivablePath(s, c.dongle).center, c.receivedCentre);
    if (c.refusal)
        EXPECT_EQ(thrownMessage([&] { app::samplingMode(s, c.dongle); }), c.refusal);
    else
        EXPECT_EQ(app::samplingMode(s, c.dongle), c.mode);
}

INSTANTIATE_TEST_SUITE_P(
    Dongles, ReceptionPath,
    testing::Values(
        PathCase{"V4 in quadrature on HF", first, 7023000, 7100000, 7100000, 0, nullptr},
        PathCase{"V3 samples HF directly", v3, 7023000, 7100000, 7100000, 2, nullptr},
        PathCase{"V3 above 25 MHz", v3, 27185000, 27100000, 27100000, 0, nullptr},
        PathCase{"V3 keeps a centre below 25 MHz", v3, 25050000, 24950000, 24950000, 2, nullptr},
        PathCase{"other dongle refused on HF", generic, 7023000, 7100000, 7100000, 0, hfRefused},
        PathCase{"other dongle recentred above 25 MHz", generic, 25050000, 24950000, 25050000, 0,
                 nullptr},
        PathCase{"no centre: the tuned frequency", generic, 30000000, 0, 0, 0, nullptr},
        PathCase{"no centre on HF", generic, 7023000, 0, 0, 0, hfRefused}));

TEST(ReceptionPath, TheTunerSitsTwelveKilohertzAboveTheCentre) {
    EXPECT_EQ(app::tunerFrequency(tuned(7023000, 7000000)), 7012000u);
    EXPECT_EQ(app::tunerFrequency(tuned(7023000, 0)), 7035000u);
    EXPECT_EQ(thrownMessage([] { app::tunerFrequency(tuned(7023000, 4294960000u)); }),
              "Frequence refusee.");
}

struct CallsCase {
    const char* name;
    hf::Device dongle;
    void (*before)(hf::Settings&);  // nullptr: the full set-up
    void (*after)(hf::Settings&);
    app::DongleCalls calls;         // mode, sampling, correction, centre, gain mode, gain
};

void PrintTo(const CallsCase& c, std::ostream* os) { *os << c.name; }

class DongleCalls : public testing::TestWithParam<CallsCase> {};

TEST_P(DongleCalls, SendOnlyWhatChanged) {
    const CallsCase& c = GetParam();
    hf::Settings previous = tuned(7023000, 7000000);
    previous.RFAuto = false;
    if (c.before) c.before(previous);
    hf::Settings next = previous;
    c.after(next);
    EXPECT_EQ(app::dongleCalls(c.dongle, next, c.before ? &previous : nullptr), c.calls);
}

void none(hf::Settings&) {}
void automaticGain(hf::Settings& s) { s.RFAuto = true; }
void manualGain(hf::Settings& s) { s.RFAuto = false; }
void aboveHf(hf::Settings& s) { s = tuned(28500000, 28400000); }

INSTANTIATE_TEST_SUITE_P(
    Changes, DongleCalls,
    testing::Values(
        CallsCase{"full set-up, manual gain", first, nullptr, none, {0, true, true, true, true, true}},
        CallsCase{"full set-up, automatic gain", first, nullptr, automaticGain,
                  {0, true, true, true, true, false}},
        CallsCase{"full set-up in direct sampling", v3, nullptr, none,
                  {2, true, true, true, false, false}},
        CallsCase{"receive-chain fields only", first, none,
                  [](hf::Settings& s) { s.Frequency = 7030000; s.Mode = 2; },
                  {0, false, false, false, false, false}},
        CallsCase{"correction re-sends the centre", first, none, [](hf::Settings& s) { s.PPM = 7; },
                  {0, false, true, true, false, false}},
        CallsCase{"gain under automatic gain", first, automaticGain,
                  [](hf::Settings& s) { s.Gain = 490; }, {0, false, false, false, false, false}},
        CallsCase{"manual gain", first, none, [](hf::Settings& s) { s.Gain = 490; },
                  {0, false, false, false, false, true}},
        CallsCase{"to automatic gain", first, none, automaticGain, {0, false, false, false, true, false}},
        CallsCase{"to manual gain", first, automaticGain, manualGain,
                  {0, false, false, false, true, true}},
        CallsCase{"V3 leaves direct sampling", v3, none, aboveHf, {0, true, false, true, true, true}},
        CallsCase{"V3 enters direct sampling", v3, aboveHf,
                  [](hf::Settings& s) { s = tuned(7023000, 7000000); }, {2, true, false, true, false, false}},
        CallsCase{"gain in direct sampling", v3, none, [](hf::Settings& s) { s.Gain = 490; },
                  {2, false, false, false, false, false}}));

TEST(ReadCallback, FollowsOnlyANewPublication) {
    const hf::Settings applied = tuned(7023000, 7000000);
    hf::Settings published = applied;
    published.Frequency = 7030000;
    EXPECT_EQ(app::publication(5, published, 5, applied), app::Publication::unchanged);
    EXPECT_EQ(app::publication(6, published, 5, applied), app::Publication::inPlace);
    EXPECT_EQ(app::publication(6, applied, 5, applied), app::Publication::inPlace);
    published.Gain = 490;
    EXPECT_EQ(app::publication(6, published, 5, applied), app::Publication::retune);
}

TEST(FrameMailbox, TextAccumulatesUpToItsLast20000Bytes) {
    EXPECT_EQ(app::mailboxText("VVV ", "DE F4HFO"), "VVV DE F4HFO");
    const std::string older(15000, 'a');
    const std::string newer = std::string(14999, 'b') + "c";
    const std::string kept = app::mailboxText(older, newer);
    EXPECT_EQ(kept, std::string(5000, 'a') + newer);
    EXPECT_EQ(app::mailboxText("", std::string(25000, 'x') + "end"), std::string(19997, 'x') + "end");
}

TEST(FrameMailbox, NeverKeepsHalfACharacter) {
    // "É" is two bytes; the cut falls between them.
    const std::string fresh = "\xC3\x89" + std::string(19999, 'e');
    EXPECT_EQ(app::mailboxText("older", fresh), std::string(19999, 'e'));
}

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

// Once the watchdog has fired, its reason ends the reception whatever else
// failed meanwhile; without it, the error as it was, none for a stop.
TEST(EndReason, IsTheWatchdogsOnceItFired) {
    const std::string noData = "Aucune donnee radio depuis 10 secondes : reception et scan arretes.";
    EXPECT_EQ(app::endReason(true, "", ""), noData);
    EXPECT_EQ(app::endReason(true, "Cle indisponible ou occupee. Aucune autre cle ne sera essayee.", ""),
              noData);
    EXPECT_EQ(app::endReason(false, "Debit radio refuse.", ""), "Debit radio refuse.");
    EXPECT_EQ(app::endReason(false, "", ""), "");
}

// A recording left broken is said whatever ended the reception, after the
// reason it ended for, and once when that reason was the recording's own.
TEST(EndReason, AddsTheRecordingsWhenItsFileCouldNotBeFinalised) {
    const std::string wav = "Erreur d'ecriture WAV. Verifiez l'espace disque.";
    const std::string usb = "Flux USB interrompu. Verifiez la cle choisie.";
    const std::string noData = "Aucune donnee radio depuis 10 secondes : reception et scan arretes.";
    EXPECT_EQ(app::endReason(false, "", wav), wav);
    EXPECT_EQ(app::endReason(false, usb, wav), usb + " " + wav);
    EXPECT_EQ(app::endReason(true, "", wav), noData + " " + wav);
    EXPECT_EQ(app::endReason(false, wav, wav), wav);
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

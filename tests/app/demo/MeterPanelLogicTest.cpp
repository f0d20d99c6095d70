#include "app/demo/MeterPanelLogic.h"

#include <gtest/gtest.h>

#include <vector>

namespace zmt::demo {
namespace {

// The wording follows a language index held elsewhere, as the session holds it.
const int kGerman = 0;
const int kEnglish = 1;

struct RangeCase {
    double fullScale;
    int decimals;
    double minimum;
    double maximum;
};

TEST(MeterPanelLogic, InputRangeKeepsFourSignificantDigitsAndRoomForOverload) {
    const std::vector<RangeCase> cases = {
        {1, 4, -1, 1.5}, {10, 3, -10, 15}, {20, 3, -20, 30}, {50, 3, -50, 75}, {100, 2, -100, 150},
    };
    for (const auto& c : cases) {
        const InputRange range = InputRangeFor(c.fullScale);
        EXPECT_EQ(range.decimals, c.decimals) << c.fullScale;
        EXPECT_DOUBLE_EQ(range.minimum, c.minimum) << c.fullScale;
        EXPECT_DOUBLE_EQ(range.maximum, c.maximum) << c.fullScale;
        EXPECT_GT(range.step, 0) << c.fullScale;
    }
}

struct CarryCase {
    double input;
    double from;
    double to;
    double carried;
};

TEST(MeterPanelLogic, ChangingTheMeterTypeKeepsTheFractionOfFullScale) {
    const std::vector<CarryCase> cases = {
        {10, 20, 10, 5}, {-5, 10, 1, -0.5}, {20, 20, 100, 100},
        {0, 20, 50, 0},  {3, 0, 20, 0},  // no full scale to take a fraction of
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(CarryInput(c.input, c.from, c.to), c.carried)
            << c.input << " of " << c.from << " to " << c.to;
}

MeterSnapshot Shot(bool attached, bool powered, bool ready, bool plugged = true) {
    MeterSnapshot shot;
    shot.comNumber = 3;
    shot.attached = attached;
    shot.plugged = plugged;
    shot.dtr = shot.powered = powered;
    shot.ready = ready;
    return shot;
}

LanguageText FilledTable() {
    LanguageText texts;
    texts.FillLanguageText();
    return texts;
}

struct StateCase {
    MeterSnapshot shot;
    const char* german;
    const char* english;
};

TEST(MeterPanelLogic, StateTextNamesThePortAndWhatTheMeterDoesInBothLanguages) {
    const std::vector<StateCase> cases = {
        {Shot(false, false, false), "COM3: vom Programm nicht geöffnet",
         "COM3: not opened by the program"},
        {Shot(true, false, false), "COM3: Messgerät aus (keine Versorgung über DTR)",
         "COM3: meter off (no power on DTR)"},
        {Shot(true, true, false), "COM3: Messgerät startet", "COM3: meter starting"},
        {Shot(true, true, true), "COM3: Messgerät läuft", "COM3: meter running"},
        // Taken off the interface: not plugged in, though the interface still has DTR on.
        {Shot(true, true, false, false), "COM3: kein Messgerät angesteckt",
         "COM3: no meter plugged in"},
        {Shot(true, false, false, false), "COM3: kein Messgerät angesteckt",
         "COM3: no meter plugged in"},
    };
    const LanguageText texts = FilledTable();
    for (const auto& c : cases) {
        EXPECT_EQ(MeterStateText(c.shot, {texts, kGerman}), QString::fromUtf8(c.german));
        EXPECT_EQ(MeterStateText(c.shot, {texts, kEnglish}), QString::fromUtf8(c.english));
    }
}

struct ContactTextCase {
    sim::ContactState state;
    const char* german;
    const char* english;
};

TEST(MeterPanelLogic, ContactTextInBothLanguages) {
    const std::vector<ContactTextCase> cases = {
        {sim::ContactState::Open, "Grenzkontakt offen", "limit contact open"},
        {sim::ContactState::Closed, "Grenzkontakt geschlossen", "limit contact closed"},
        {sim::ContactState::NotUsed, "Grenzkontakt nicht benutzt", "limit contact not used"},
    };
    const LanguageText texts = FilledTable();
    MeterSnapshot shot;
    for (const auto& c : cases) {
        shot.contact = c.state;
        EXPECT_EQ(ContactText(shot, {texts, kGerman}), QString::fromUtf8(c.german));
        EXPECT_EQ(ContactText(shot, {texts, kEnglish}), QString::fromUtf8(c.english));
    }
}

TEST(MeterPanelLogic, InputTextShowsTheCalibrationSignalWhenRtsSwitchesItThrough) {
    const LanguageText texts = FilledTable();
    MeterSnapshot shot;
    shot.input = 12.5;
    EXPECT_EQ(InputText(shot, QStringLiteral("mA"), 3, {texts, kEnglish}),
              QStringLiteral("12.500 mA at the input"));
    EXPECT_EQ(InputText(shot, QStringLiteral("mA"), 3, {texts, kGerman}),
              QStringLiteral("12.500 mA am Eingang"));
    shot.input = 20;
    shot.calibrationSignal = true;
    EXPECT_EQ(InputText(shot, QStringLiteral("mA"), 3, {texts, kEnglish}),
              QStringLiteral("Calibration signal 20.000 mA at the input (RTS on)"));
    EXPECT_EQ(InputText(shot, QStringLiteral("mA"), 3, {texts, kGerman}),
              QStringLiteral("Kalibriersignal 20.000 mA am Eingang (RTS an)"));
}

}  // namespace
}  // namespace zmt::demo

#include "DeviceTestRig.h"
#include "device/Calibration.h"

#include <gtest/gtest.h>

namespace zmt {
namespace {

using testing::DeviceRig;
using namespace words;
using enum ReadingRefusal;

constexpr std::uint16_t Untouched = 4711;

TEST(DeviceCalibration, OffsetReadingIsTakenOrRefused) {
    struct Case {
        const char* text;
        ReadingRefusal refusal;
        std::uint16_t offsetWord;  // OffsetReading and w0 afterwards
        const char* shown;         // the entry's text afterwards
    };
    // clang-format off
    const Case cases[] = {
        {"   -3", None, 65533, "-3"},     {" 0000", None, 0, "0"},          {" -12", None, 65524, "-12"},
        {"2,5", None, 2, "2"},            {"-3,5", None, 65532, "-4"},      {"32767", None, 32767, "32767"},
        {"-32768", None, 32768, "-32768"}, {"32768", OffsetOutOfRange, Untouched, "32768"},
        {"-32769", OffsetOutOfRange, Untouched, "-32769"}, {"1e300", OffsetOutOfRange, Untouched, "1e300"},
        {"12a", NotANumber, Untouched, "12a"}, {"     ", NotANumber, Untouched, "     "},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DeviceState device;
        device.OffsetReading = device.DeviceImage[w0] = Untouched;
        const ReadingResult result = TakeOffsetReading(c.text, device);
        EXPECT_EQ(result.refusal, c.refusal);
        EXPECT_EQ(device.OffsetReading, c.offsetWord);
        EXPECT_EQ(device.DeviceImage[w0], c.offsetWord);
        EXPECT_EQ(result.anzeigeText, c.shown);
        EXPECT_EQ(device.OffsetDisplayReading.has_value(), c.refusal == None);
    }
}

TEST(DeviceCalibration, GainReadingIsTakenOrRefused) {
    struct Case {
        const char* text;
        ReadingRefusal refusal;
        std::int32_t gainFactor;  // afterwards
        std::uint16_t w2;         // afterwards
    };
    // clang-format off
    const Case cases[] = {
        {"2000", None, 8192, 8192},    {"1990", None, 8233, 8233},     {"2010", None, 8151, 8151},
        {"-2000", None, -8191, 57345}, {"501", None, 32703, 32703},    {"-500", None, -32767, 32769},
        {"99999", None, 164, 164},
        {"500", GainFactorOutOfRange, Untouched, Untouched},  {"1", GainFactorOutOfRange, Untouched, Untouched},
        {"1e300", GainFactorOutOfRange, Untouched, Untouched}, {"0", ZeroReading, Untouched, Untouched},
        {"0,4", ZeroReading, Untouched, Untouched},            {"x", NotANumber, Untouched, Untouched},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DeviceRig rig;
        rig.device.OffsetReading = 65533;
        rig.device.GainFactor = Untouched;
        rig.device.DeviceImage.fill(Untouched);
        const ReadingResult result = TakeGainReading(c.text, rig.device, rig.model);
        EXPECT_EQ(result.refusal, c.refusal);
        EXPECT_EQ(rig.device.GainFactor, c.gainFactor);
        EXPECT_EQ(rig.device.DeviceImage[w2], c.w2);
        // Only a taken reading brings in the offset and the configuration words.
        const bool taken = c.refusal == None;
        EXPECT_EQ(rig.device.DeviceImage[w0], taken ? 65533 : Untouched);
        EXPECT_EQ(rig.device.DeviceImage[w15], taken ? 1 : Untouched);
        EXPECT_EQ(rig.device.GainDisplayReading.has_value(), taken);
    }
}

TEST(DeviceCalibration, BothReadingsGiveTheCalibratedThresholds) {
    DeviceRig rig;
    rig.model.setField(Field::RelaisOn, "1500");
    rig.model.setField(Field::RelaisOff, "1400");
    ASSERT_TRUE(TakeOffsetReading("-3", rig.device).valid());
    ASSERT_TRUE(TakeGainReading("1990", rig.device, rig.model).valid());
    const auto& image = rig.device.DeviceImage;
    EXPECT_EQ((std::array{image[w0], image[w2], image[w6], image[w7]}),
              (std::array<std::uint16_t, 4>{65533, 8233, 3538, 3438}));
    // The readings stay for the record of this run.
    EXPECT_EQ(rig.device.OffsetDisplayReading, -3);
    EXPECT_EQ(rig.device.GainDisplayReading, 1990);
}

// The explanation comes from the language table, so it follows the language like the
// "Eingabefehler" line above it.
TEST(DeviceCalibration, RefusalsBeyondANonNumberAreExplainedInBothLanguages) {
    DeviceRig rig;
    const std::tuple<ReadingRefusal, const char*, const char*> explained[] = {
        {OffsetOutOfRange, "Anzeigewert außerhalb des gültigen Bereichs", "reading out of range"},
        {ZeroReading, "Anzeige 0: ist das Kalibriersignal angeschlossen?",
         "reading 0: is the calibration signal connected?"},
        {GainFactorOutOfRange, "Verstärkungsfaktor außerhalb des gültigen Bereichs",
         "gain factor out of range"}};
    for (const auto& [refusal, german, english] : explained) {
        const auto row = RefusalDetailRow(refusal);
        ASSERT_TRUE(row) << german;
        EXPECT_GE(*row, LanguageText::OriginalRowCount);
        EXPECT_EQ(rig.texts.text(*row, 0), QString::fromUtf8(german));
        EXPECT_EQ(rig.texts.text(*row, 1), QString::fromUtf8(english));
    }
    EXPECT_FALSE(RefusalDetailRow(NotANumber));
    EXPECT_FALSE(RefusalDetailRow(None));
}

}  // namespace
}  // namespace zmt

#include "Calibration.h"
#include "DeviceTestRig.h"

#include <gtest/gtest.h>

#include <ostream>

namespace zmt {
namespace {

using testing::DeviceRig;
using namespace words;

constexpr std::uint16_t Untouched = 4711;

struct OffsetCase {
    const char* text;
    ReadingRefusal refusal;
    std::uint16_t offsetWord;  // OffsetReading and w0 afterwards
    const char* shown;         // the entry's text afterwards
};

void PrintTo(const OffsetCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class OffsetReadingTable : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(OffsetReadingTable, TakesOrRefusesTheReading) {
    const OffsetCase& c = GetParam();
    DeviceState device;
    device.OffsetReading = Untouched;
    device.DeviceImage[w0] = Untouched;
    const ReadingResult result = TakeOffsetReading(c.text, device);
    EXPECT_EQ(result.refusal, c.refusal);
    EXPECT_EQ(device.OffsetReading, c.offsetWord);
    EXPECT_EQ(device.DeviceImage[w0], c.offsetWord);
    EXPECT_EQ(result.anzeigeText, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Device, OffsetReadingTable,
    ::testing::Values(OffsetCase{"   -3", ReadingRefusal::None, 65533, "-3"},
                      OffsetCase{" 0000", ReadingRefusal::None, 0, "0"},
                      OffsetCase{" -12", ReadingRefusal::None, 65524, "-12"},
                      OffsetCase{"2,5", ReadingRefusal::None, 2, "2"},
                      OffsetCase{"-3,5", ReadingRefusal::None, 65532, "-4"},
                      OffsetCase{"32767", ReadingRefusal::None, 32767, "32767"},
                      OffsetCase{"-32768", ReadingRefusal::None, 32768, "-32768"},
                      OffsetCase{"32768", ReadingRefusal::OffsetOutOfRange, Untouched, "32768"},
                      OffsetCase{"-32769", ReadingRefusal::OffsetOutOfRange, Untouched, "-32769"},
                      OffsetCase{"1e300", ReadingRefusal::OffsetOutOfRange, Untouched, "1e300"},
                      OffsetCase{"12a", ReadingRefusal::NotANumber, Untouched, "12a"},
                      OffsetCase{"     ", ReadingRefusal::NotANumber, Untouched, "     "}));

struct GainCase {
    const char* text;
    ReadingRefusal refusal;
    std::int32_t gainFactor;  // afterwards
    std::uint16_t w2;         // afterwards
};

void PrintTo(const GainCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class GainReadingTable : public ::testing::TestWithParam<GainCase> {};

TEST_P(GainReadingTable, TakesOrRefusesTheReading) {
    const GainCase& c = GetParam();
    DeviceRig rig;
    rig.device.OffsetReading = 65533;
    rig.device.GainFactor = Untouched;
    rig.device.DeviceImage.fill(Untouched);
    const ReadingResult result = TakeGainReading(c.text, rig.device, rig.model);
    EXPECT_EQ(result.refusal, c.refusal);
    EXPECT_EQ(rig.device.GainFactor, c.gainFactor);
    EXPECT_EQ(rig.device.DeviceImage[w2], c.w2);
    // Only a taken reading brings in the offset and the configuration words.
    const bool taken = c.refusal == ReadingRefusal::None;
    EXPECT_EQ(rig.device.DeviceImage[w0], taken ? 65533 : Untouched);
    EXPECT_EQ(rig.device.DeviceImage[w15], taken ? 1 : Untouched);
}

INSTANTIATE_TEST_SUITE_P(
    Device, GainReadingTable,
    ::testing::Values(GainCase{"2000", ReadingRefusal::None, 8192, 8192},
                      GainCase{"1990", ReadingRefusal::None, 8233, 8233},
                      GainCase{"2010", ReadingRefusal::None, 8151, 8151},
                      GainCase{"-2000", ReadingRefusal::None, -8191, 57345},
                      GainCase{"501", ReadingRefusal::None, 32703, 32703},
                      GainCase{"-500", ReadingRefusal::None, -32767, 32769},
                      GainCase{"99999", ReadingRefusal::None, 164, 164},
                      GainCase{"500", ReadingRefusal::GainFactorOutOfRange, Untouched, Untouched},
                      GainCase{"1", ReadingRefusal::GainFactorOutOfRange, Untouched, Untouched},
                      GainCase{"1e300", ReadingRefusal::GainFactorOutOfRange, Untouched, Untouched},
                      GainCase{"0", ReadingRefusal::ZeroReading, Untouched, Untouched},
                      GainCase{"0,4", ReadingRefusal::ZeroReading, Untouched, Untouched},
                      GainCase{"x", ReadingRefusal::NotANumber, Untouched, Untouched}));

TEST(DeviceCalibration, BothReadingsGiveTheCalibratedThresholds) {
    DeviceRig rig;
    rig.model.setField(Field::RelaisOn, "1500");
    rig.model.setField(Field::RelaisOff, "1400");
    ASSERT_TRUE(TakeOffsetReading("-3", rig.device).valid());
    ASSERT_TRUE(TakeGainReading("1990", rig.device, rig.model).valid());
    EXPECT_EQ(rig.device.DeviceImage[w0], 65533);
    EXPECT_EQ(rig.device.DeviceImage[w2], 8233);
    EXPECT_EQ(rig.device.DeviceImage[w6], 3538);
    EXPECT_EQ(rig.device.DeviceImage[w7], 3438);
}

TEST(DeviceCalibration, RefusalsExplainRangeFaultsInBothLanguages) {
    for (const auto refusal : {ReadingRefusal::OffsetOutOfRange, ReadingRefusal::ZeroReading,
                               ReadingRefusal::GainFactorOutOfRange}) {
        EXPECT_FALSE(RefusalDetail(refusal, 0).isEmpty());
        EXPECT_FALSE(RefusalDetail(refusal, 1).isEmpty());
        EXPECT_NE(RefusalDetail(refusal, 0), RefusalDetail(refusal, 1));
    }
    EXPECT_EQ(RefusalDetail(ReadingRefusal::GainFactorOutOfRange, 1), "gain factor out of range");
    EXPECT_TRUE(RefusalDetail(ReadingRefusal::NotANumber, 1).isEmpty());
    EXPECT_TRUE(RefusalDetail(ReadingRefusal::None, 0).isEmpty());
}

}  // namespace
}  // namespace zmt

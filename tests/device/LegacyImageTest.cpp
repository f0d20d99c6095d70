#include "DeviceTestRig.h"
#include "LegacyImage.h"

#include <gtest/gtest.h>

#include <ostream>

namespace zmt {
namespace {

using testing::DeviceRig;
using namespace words;

struct LegacyCase {
    const char* name;
    std::uint16_t zeroWord, codeWord, gainWord, w7;
    std::uint16_t w7After;
    const char *skalout1, *skalout2;
    int decimalPoint;
};

void PrintTo(const LegacyCase& c, std::ostream* os) {
    *os << c.name;
}

class LegacyImageTable : public ::testing::TestWithParam<LegacyCase> {};

TEST_P(LegacyImageTable, GivesTheOlderInterpretation) {
    const LegacyCase& c = GetParam();
    DeviceRig rig;
    rig.model.polaritaet = "+ / -";
    rig.model.LimitMode = "gwinv";
    rig.model.setField(Field::Skalin1, "4");
    rig.model.setField(Field::RelaisOn, "123");
    rig.device.ReadWords[w1] = c.zeroWord;
    rig.device.ReadWords[w5] = c.codeWord;
    rig.device.DeviceImage[w2] = c.gainWord;
    rig.device.DeviceImage[w7] = c.w7;
    LegacyImageToConfig(rig.device, rig.editor, rig.fx);
    EXPECT_EQ(rig.device.DeviceImage[w7], c.w7After);
    EXPECT_EQ(rig.model.Skalin1, "    0");
    EXPECT_EQ(rig.model.Skalin2, "   20");
    EXPECT_EQ(rig.model.Skalout1, PadField(c.skalout1));
    EXPECT_EQ(rig.model.Skalout2, PadField(c.skalout2));
    EXPECT_EQ(rig.model.DecimalPoint, c.decimalPoint);
    // Polarity, limit mode and limit values are not taken over.
    EXPECT_EQ(rig.model.polaritaet, "+ / -");
    EXPECT_EQ(rig.model.LimitMode, "gwinv");
    EXPECT_EQ(rig.model.RelaisOn, "  123");
}

INSTANTIATE_TEST_SUITE_P(
    Device, LegacyImageTable,
    ::testing::Values(LegacyCase{"ZeroW7BecomesHalfRange", 0, 4, 8192, 0, 32768, "0", "125", 4},
                      LegacyCase{"UnityGain", 100, 2, 32768, 32768, 32768, "-100", "1899", 2},
                      LegacyCase{"GainOverW7", 0, 0x0301, 23170, 16384, 16384, "0", "1999", 1},
                      LegacyCase{"UnsignedZeroWord", 65436, 0, 40000, 20000, 20000, "-65436",
                                 "-60555", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceLegacyImage, FullScaleValueIncludesTheReferenceCorrection) {
    EXPECT_EQ(LegacyFullScaleValue(32768, 32768), 1999);
    EXPECT_EQ(LegacyFullScaleValue(8192, 32768), 125);
    EXPECT_EQ(LegacyFullScaleValue(0, 1), 0);
}

TEST(DeviceLegacyImage, EvaluatesTheNewScaling) {
    DeviceRig rig;
    rig.model.setField(Field::Testin1, "20");
    rig.device.ReadWords[w5] = 4;
    rig.device.DeviceImage[w2] = 32768;
    rig.device.DeviceImage[w7] = 32768;
    LegacyImageToConfig(rig.device, rig.editor, rig.fx);
    EXPECT_DOUBLE_EQ(rig.model.ScaleSlope, 1999.0 / 20);
    EXPECT_EQ(rig.model.Testout1.trimmed(), "1999");
}

}  // namespace
}  // namespace zmt

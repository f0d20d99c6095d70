#include "DeviceTestRig.h"
#include "device/LegacyImage.h"

#include <gtest/gtest.h>

namespace zmt {
namespace {

using testing::DeviceRig;
using namespace words;

TEST(DeviceLegacyImage, GivesTheOlderInterpretation) {
    struct Case {
        std::uint16_t zeroWord, codeWord, gainWord, w7, w7After;
        const char *skalout1, *skalout2;
        int decimalPoint;
    };
    // clang-format off
    const Case cases[] = {
        {0, 4, 8192, 0, 32768, "0", "125", 4},  // a w7 of 0 stands for half the range
        {100, 2, 32768, 32768, 32768, "-100", "1899", 2},
        {0, 0x0301, 23170, 16384, 16384, "0", "1999", 1},
        {65436, 0, 40000, 20000, 20000, "-65436", "-60555", 0},  // the zero word is unsigned here
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gainWord);
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
        EXPECT_EQ(rig.model.Skalin1 + rig.model.Skalin2, "    0   20");
        EXPECT_EQ(rig.model.Skalout1, PadField(c.skalout1));
        EXPECT_EQ(rig.model.Skalout2, PadField(c.skalout2));
        EXPECT_EQ(rig.model.DecimalPoint, c.decimalPoint);
        EXPECT_EQ(rig.model.DisplayAtZero, -c.zeroWord);  // the new scaling was evaluated
        // Polarity, limit mode and limit values are not taken over.
        EXPECT_EQ(rig.model.polaritaet + rig.model.LimitMode + rig.model.RelaisOn,
                  "+ / -gwinv  123");
    }
}

}  // namespace
}  // namespace zmt

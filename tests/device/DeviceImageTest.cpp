#include "DeviceTestRig.h"
#include "LocaleGuard.h"
#include "editor/Numbers.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <vector>

namespace zmt {
namespace {

using testing::DeviceRig;
using namespace words;

TEST(DeviceFrames, WorkedExampleByteForByte) {
    DeviceRig rig;
    rig.editor.Recalculate(rig.fx);
    ConfigToImage(rig.device, rig.model);
    rig.transfer.ReceiveBuffer[0] = rig.transfer.ReceiveBuffer[1] = 0xA6;
    PrepareWriteFrame(rig.device, rig.transfer);
    std::vector<std::uint16_t> expected(33, 0);
    expected[0] = 0xA6;
    expected.insert(expected.end(),
                    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x00,
                     0x00, 0xCF, 0x0F, 0xCF, 0x0F, 0x00, 0x00, 0x10, 0x27, 0xE0, 0x2E,
                     0x10, 0x27, 0xE0, 0x2E, 0xE0, 0x2E, 0xE0, 0x2E, 0x01, 0x00});
    const auto& sent = rig.transfer.SendBuffer;
    EXPECT_EQ(std::vector<std::uint16_t>(sent.begin(), sent.begin() + 65), expected);
    EXPECT_EQ(rig.transfer.SendCount, 65);
    EXPECT_EQ(rig.transfer.ExpectedCount, 130);
    // Nothing received yet must fail the first check.
    EXPECT_EQ(CheckExchange(rig.transfer), ExchangeCheck::InterfaceMissing);
    // A read frame is the write frame's first 33 bytes.
    PrepareReadFrame(rig.device, rig.transfer);
    EXPECT_EQ(std::vector<std::uint16_t>(sent.begin(), sent.begin() + 33),
              std::vector<std::uint16_t>(expected.begin(), expected.begin() + 33));
    EXPECT_EQ(rig.transfer.SendCount, 33);
    EXPECT_EQ(rig.transfer.ExpectedCount, 66);
}

TEST(DeviceConfigToImage, ComputesTheMeterWords) {
    struct Case {
        const char* name;
        std::int32_t zero, fullScale;
        const char *polarity, *mode, *on, *off;
        std::uint16_t offsetReading;
        std::int32_t gainFactor;
        std::uint16_t w1, w3, w4, w6, w7;
    };
    // clang-format off
    const Case cases[] = {
        {"plain",              0, 2000,  "+", "gwnorm", "2000", "2000", 0, 0,         0, 2049, 0, 4047, 4047},
        {"calibrated",         0, 2000,  "+", "gwnorm", "1500", "1400", 65533, 8233,  0, 2049, 0, 3538, 3438},
        {"negative gain",      0, 2000,  "+", "gwnorm", "2000", "2000", 0, -8191,     0, 2049, 0, 4047, 4047},
        {"negative span",      0, -2000, "+", "gwnorm", "2000", "2000", 0, 0,         0, 63490, 0, 2113, 2113},
        {"zero above",         100, 2100, "+", "gwnorm", "2000", "2000", 0, 0,    65436, 2049, 0, 3947, 3947},
        {"zero below",         -100, 1900, "+", "gwnorm", "0", "0", 0, 0,           100, 2049, 0, 2148, 2148},
        {"truncates to zero",  0, 2000,  "+", "gwnorm", "-1999", "-1999", 62536, 0,  0, 2049, 0, 62587, 62587},
        {"zero span low bits", 0, 0,     "+", "gwnorm", "2000", "0", 0, 0,            0, 1, 0, 34816, 2048},
        {"span clamped high",  0, 40000, "+", "gwnorm", "0", "0", 0, 0,               0, 32767, 0, 2048, 2048},
        {"span clamped low",   0, -40000, "+", "gwnorm", "0", "0", 0, 0,              0, 32770, 0, 2048, 2048},
        {"bipolar inverted",   0, 2000,  "+ / -", "gwinv", "2000", "2000", 0, 0,      0, 2049, 0xC0, 4047, 4047},
        {"contact unused",     0, 2000,  "+ / -", "gwno", "-7", "9999", 0, 0,         0, 2049, 0x80, 5000, 4500},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        rig.model.DisplayAtZero = c.zero;
        rig.model.DisplayAtFullScale = c.fullScale;
        rig.model.polaritaet = c.polarity;
        rig.model.LimitMode = c.mode;
        rig.model.setField(Field::RelaisOn, c.on);
        rig.model.setField(Field::RelaisOff, c.off);
        rig.device.OffsetReading = c.offsetReading;
        rig.device.GainFactor = c.gainFactor;
        rig.device.DeviceImage = {111, 0, 222, 0, 0, 0, 0, 0, 333};
        ConfigToImage(rig.device, rig.model);
        const ImageWords& image = rig.device.DeviceImage;
        EXPECT_EQ((std::array{image[w1], image[w3], image[w4], image[w6], image[w7]}),
                  (std::array{c.w1, c.w3, c.w4, c.w6, c.w7}));
        // The calibration words and the reserved word pass through; the mark is always set.
        EXPECT_EQ((std::array{image[w0], image[w2], image[w8], image[w15]}),
                  (std::array<std::uint16_t, 4>{111, 222, 333, 1}));
    }
}

TEST(DeviceConfigToImage, ScalingWordsStopAtTheFirstTextThatIsNoNumber) {
    struct Case {
        std::array<const char*, 4> texts;    // Skalin1, Skalin2, Skalout1, Skalout2
        std::array<std::uint16_t, 4> words;  // w9..w12; 7 is the word left as it was
    };
    // clang-format off
    const Case cases[] = {
        {{"0", "20", "0", "2000"},           {10000, 12000, 10000, 12000}},
        {{"-5,5", "4,5", "-1000", "0"},      {9450, 10450, 9000, 10000}},
        {{"0,07", "19,996", "-0,7", "9,9"},  {10007, 12000, 9999, 10009}},  // inputs round, displays truncate
        {{"1", "x", "5", "5"},               {10100, 7, 7, 7}},
        {{"1", "2", "3", ""},                {10100, 10200, 10003, 7}},
        {{"1e300", "2", "3", "4"},           {7, 7, 7, 7}},
    };
    // clang-format on
    const Field fields[] = {Field::Skalin1, Field::Skalin2, Field::Skalout1, Field::Skalout2};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts[0]);
        DeviceRig rig;
        rig.device.DeviceImage.fill(7);
        for (int i = 0; i < 4; ++i) rig.model.setField(fields[i], c.texts[i]);
        ConfigToImage(rig.device, rig.model);
        const auto& image = rig.device.DeviceImage;
        EXPECT_EQ((std::array{image[w9], image[w10], image[w11], image[w12]}), c.words);
        EXPECT_EQ(image[w13], 12000);  // the limit words follow whatever the group did
    }
}

TEST(DeviceConfigToImage, LimitTextThatIsNoIntegerRaisesAfterTheEarlierWords) {
    DeviceRig rig;
    rig.model.DisplayAtZero = -100;
    rig.model.DisplayAtFullScale = 1900;
    rig.device.DeviceImage.fill(7);
    rig.model.setField(Field::RelaisOn, "abc");
    EXPECT_THROW(ConfigToImage(rig.device, rig.model), ConversionError);
    const auto& image = rig.device.DeviceImage;
    EXPECT_EQ((std::array{image[w1], image[w3], image[w6], image[w9]}),
              (std::array<std::uint16_t, 4>{100, 2049, 7, 7}));
}

TEST(DeviceTakeReceivedData, AssemblesTheMetersImageFromItsAnswers) {
    DeviceRig rig;
    ImageWords meter{};
    for (int i = 0; i < ImageWordCount; ++i) meter[i] = 0x0101 * i + 0x80F0;
    PrepareReadFrame(rig.device, rig.transfer);
    rig.AnswerAsMeter(meter, 33);
    ASSERT_EQ(rig.transfer.ReceiveCount, 66);
    TakeReceivedData(rig.device, rig.transfer);
    EXPECT_EQ(rig.device.DeviceImage, meter);
    EXPECT_TRUE(rig.device.ImageFromMeter);
}

TEST(DeviceTakeReceivedData, UsesTheBufferWhateverTheCountSays) {
    DeviceRig rig;
    for (int k = 0; k < TransferState::ReceiveCapacity; ++k) rig.transfer.ReceiveBuffer[k] = k;
    for (const std::int32_t count : {0, -5, 1 << 30}) {
        rig.transfer.ReceiveCount = count;
        rig.device.ImageFromMeter = true;
        TakeReceivedData(rig.device, rig.transfer);
        EXPECT_FALSE(rig.device.ImageFromMeter);  // the words are not the meter's
        EXPECT_EQ(rig.device.ReadWords[0], 3 + 256 * 5);
        EXPECT_EQ(rig.device.ReadWords[31], 127 + 256 * 129);
        EXPECT_EQ(rig.device.DeviceImage[15], 63 + 256 * 65);
    }
}

TEST(DeviceExchangeCheck, NamesTheFirstFailedCheck) {
    using enum ExchangeCheck;
    constexpr auto Exact = CountTolerance::Exact, Tolerant = CountTolerance::OneExtra;
    struct Case {
        std::uint16_t echo, answer;
        std::int32_t received, expected;
        CountTolerance tolerance;
        ExchangeCheck result;
    };
    // clang-format off
    const Case cases[] = {
        {0xA6, 0xA6, 66, 66, Tolerant, Passed},    {0xA6, 0xA6, 67, 66, Tolerant, Passed},
        {0xA6, 0xA6, 65, 66, Tolerant, DataIncomplete}, {0xA6, 0xA6, 68, 66, Tolerant, DataIncomplete},
        {0xA6, 0xA6, 131, 130, Tolerant, Passed},  {0xA6, 0xA6, 129, 130, Tolerant, DataIncomplete},
        {0xA6, 0xA6, 67, 66, Exact, DataIncomplete}, {0xA6, 0xA6, 66, 66, Exact, Passed},
        {0, 0, 0, 66, Tolerant, InterfaceMissing}, {0xA5, 0xA6, 66, 66, Tolerant, InterfaceMissing},
        {0xA6, 0, 1, 66, Tolerant, ConnectionFailed}, {0xA6, 0x26, 66, 66, Tolerant, ConnectionFailed},
    };
    // clang-format on
    for (const Case& c : cases) {
        TransferState transfer;
        transfer.SendBuffer[0] = CommandByte;
        transfer.ReceiveBuffer[0] = c.echo;
        transfer.ReceiveBuffer[1] = c.answer;
        transfer.ReceiveCount = c.received;
        transfer.ExpectedCount = c.expected;
        EXPECT_EQ(CheckExchange(transfer, c.tolerance), c.result)
            << c.echo << "/" << c.answer << " " << c.received << " of " << c.expected;
    }
}

TEST(DeviceImageToConfig, WritesTheMetersValuesIntoTheEditor) {
    struct Case {
        const char* name;
        std::uint16_t flags, code, onWord;
        std::array<std::uint16_t, 6> words;  // w9..w14
        const char *polarity, *mode;
        std::array<const char*, 6> texts;  // Skalin1, Skalin2, Skalout1, Skalout2, ON, OFF
        int decimalPoint;
    };
    // clang-format off
    const Case cases[] = {
        {"example", 0, 4, 4047, {10000, 12000, 10000, 12000, 12000, 12000},
         "+", "gwnorm", {"0", "20", "0", "2000", "2000", "2000"}, 4},
        {"negatives", 0x80, 2, 4047, {9450, 10450, 9000, 10100, 9999, 8001},
         "+ / -", "gwnorm", {"-5,5", "4,5", "-1000", "100", "-1", "-1999"}, 2},
        {"inverted, code in the low byte", 0x40, 0x0103, 0, {10000, 10025, 10000, 10001, 10000, 10000},
         "+", "gwinv", {"0", "0,25", "0", "1", "0", "0"}, 3},
        {"unused wins over inverted", 0xC0, 0, 5000, {0, 65535, 10000, 10000, 10000, 10000},
         "+ / -", "gwno", {"-100", "555,35", "0", "0", "0", "0"}, 0},
        {"code without radio", 0, 7, 0, {10000, 12000, 10000, 12000, 10000, 10000},
         "+", "gwnorm", {"0", "20", "0", "2000", "0", "0"}, 7},
    };
    // clang-format on
    const Field fields[] = {Field::Skalin1,  Field::Skalin2,  Field::Skalout1,
                            Field::Skalout2, Field::RelaisOn, Field::RelaisOff};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        auto& r = rig.device.ReadWords;
        r[w4] = c.flags;
        r[w5] = c.code;
        r[w6] = c.onWord;
        std::copy(c.words.begin(), c.words.end(), r.begin() + w9);
        ImageToConfig(rig.device, rig.editor, rig.fx);
        EXPECT_EQ(rig.model.polaritaet, c.polarity);
        EXPECT_EQ(rig.model.LimitMode, c.mode);
        EXPECT_EQ(rig.model.DecimalPoint, c.decimalPoint);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(rig.model.field(fields[i]), PadField(c.texts[i]));
    }
}

// Words of a read-back image with the scaling 4 -> 0, 20 -> 1000 and the contact at 0.
void SetScalingWords(DeviceState& device, std::uint16_t code) {
    auto& r = device.ReadWords;
    r[w5] = code;
    std::copy_n(std::array<std::uint16_t, 6>{10400, 12000, 10000, 11000, 10000, 10000}.begin(), 6,
                r.begin() + w9);
}

TEST(DeviceImageToConfig, EndsWithAnEvaluationOfTheNewTextsInTheUsersLocale) {
    DeviceRig rig;
    rig.model.setField(Field::Testin1, "12");
    SetScalingWords(rig.device, 4);
    rig.device.ReadWords[w9] = 9450;  // -5.5 -> 0
    {
        const LocaleGuard locale(QLocale::English);
        ImageToConfig(rig.device, rig.editor, rig.fx);
    }
    EXPECT_EQ(rig.model.Skalin1, " -5.5");
    EXPECT_EQ(rig.model.DisplayAtZero, 216);
    EXPECT_EQ(rig.model.Testout1.trimmed(), "687");
}

// Checking the radio runs its rule on the stale texts only when the check changes: a stale
// display of -2000 then beeps its warning once, and a stale text that cannot be evaluated
// never stops the take-over.
TEST(DeviceImageToConfig, RadioRuleRunsOnlyWhenTheCheckChanges) {
    struct Case {
        int before, code, beeps;
    };
    for (const Case& c :
         {Case{4, 2, 1}, Case{2, 2, 0}, Case{7, 0, 1}, Case{0, 9, 0}, Case{9, 9, 0}}) {
        DeviceRig rig;
        rig.model.DecimalPoint = c.before;
        rig.model.setField(Field::Skalout1, "-2000");
        SetScalingWords(rig.device, c.code);
        ImageToConfig(rig.device, rig.editor, rig.fx);
        EXPECT_EQ(rig.fx.beeps(), c.beeps) << c.before << " -> " << c.code;
        EXPECT_EQ(rig.model.DecimalPoint, c.code);
    }
}

TEST(DeviceImageToConfig, StaleTextThatCannotBeEvaluatedDoesNotStopTheTakeOver) {
    DeviceRig rig;
    rig.model.DecimalPoint = 4;
    rig.model.setField(Field::RelaisOn, "abc");
    SetScalingWords(rig.device, 1);
    EXPECT_NO_THROW(ImageToConfig(rig.device, rig.editor, rig.fx));
    EXPECT_EQ(rig.model.RelaisOn, "    0");
    // The test input is not read back, so a bad one still fails the final evaluation.
    rig.model.setField(Field::Testin1, "?");
    EXPECT_THROW(ImageToConfig(rig.device, rig.editor, rig.fx), ConversionError);
}

TEST(DeviceInitialCalibrationImage, IsNeutral) {
    const ImageWords expected = {0, 0, 8192, 2048, 128, 0, 8192, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(InitialCalibrationImage(), expected);
}

}  // namespace
}  // namespace zmt

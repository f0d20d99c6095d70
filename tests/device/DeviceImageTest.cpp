#include "DeviceTestRig.h"
#include "Numbers.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QLocale>

#include <vector>

namespace zmt {
namespace {

using testing::DeviceRig;
using namespace words;

TEST(DeviceWriteFrame, WorkedExampleByteForByte) {
    DeviceRig rig;
    rig.editor.Recalculate(rig.fx);
    ConfigToImage(rig.device, rig.model);
    const ImageWords expectedWords = {0, 0,     0,     2049,  0,     0,     4047,  4047,
                                      0, 10000, 12000, 10000, 12000, 12000, 12000, 1};
    EXPECT_EQ(rig.device.DeviceImage, expectedWords);

    rig.transfer.ReceiveBuffer[0] = rig.transfer.ReceiveBuffer[1] = 0xA6;
    PrepareWriteFrame(rig.device, rig.transfer);
    const std::vector<std::uint16_t> data = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x08,
                                             0x00, 0x00, 0x00, 0x00, 0xCF, 0x0F, 0xCF, 0x0F,
                                             0x00, 0x00, 0x10, 0x27, 0xE0, 0x2E, 0x10, 0x27,
                                             0xE0, 0x2E, 0xE0, 0x2E, 0xE0, 0x2E, 0x01, 0x00};
    std::vector<std::uint16_t> expected(33, 0);
    expected[0] = 0xA6;
    expected.insert(expected.end(), data.begin(), data.end());
    const auto& sent = rig.transfer.SendBuffer;
    EXPECT_EQ(std::vector<std::uint16_t>(sent.begin(), sent.begin() + 65), expected);
    EXPECT_EQ(rig.transfer.SendCount, 65);
    EXPECT_EQ(rig.transfer.ExpectedCount, 130);
    EXPECT_EQ(rig.transfer.ReceiveBuffer[0], 0);
    EXPECT_EQ(rig.transfer.ReceiveBuffer[1], 0);
}

TEST(DeviceReadFrame, IsCommandAndThirtyTwoZerosWhateverTheImage) {
    DeviceRig rig;
    rig.device.DeviceImage.fill(0xFFFF);
    rig.transfer.SendBuffer.fill(0x55);
    PrepareReadFrame(rig.device, rig.transfer);
    EXPECT_EQ(rig.transfer.SendBuffer[0], 0xA6);
    for (int k = 1; k < 33; ++k) EXPECT_EQ(rig.transfer.SendBuffer[k], 0) << k;
    EXPECT_EQ(rig.transfer.SendCount, 33);
    EXPECT_EQ(rig.transfer.ExpectedCount, 66);
    // Nothing received yet must fail the first check.
    EXPECT_EQ(CheckExchange(rig.transfer), ExchangeCheck::InterfaceMissing);
}

struct ImageCase {
    const char* name;
    std::int32_t displayAtZero, displayAtFullScale;
    const char* polarity;
    const char* mode;
    const char *relaisOn, *relaisOff;
    std::uint16_t offsetReading;
    std::int32_t gainFactor;
    std::uint16_t w1, w3, w4, w6, w7;
};

void PrintTo(const ImageCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigToImageTable : public ::testing::TestWithParam<ImageCase> {};

TEST_P(ConfigToImageTable, ComputesTheMeterWords) {
    const ImageCase& c = GetParam();
    DeviceRig rig;
    rig.model.DisplayAtZero = c.displayAtZero;
    rig.model.DisplayAtFullScale = c.displayAtFullScale;
    rig.model.polaritaet = c.polarity;
    rig.model.LimitMode = c.mode;
    rig.model.setField(Field::RelaisOn, c.relaisOn);
    rig.model.setField(Field::RelaisOff, c.relaisOff);
    rig.device.OffsetReading = c.offsetReading;
    rig.device.GainFactor = c.gainFactor;
    rig.device.DeviceImage[w0] = 111;
    rig.device.DeviceImage[w2] = 222;
    rig.device.DeviceImage[w8] = 333;
    ConfigToImage(rig.device, rig.model);
    const ImageWords& image = rig.device.DeviceImage;
    EXPECT_EQ(image[w1], c.w1);
    EXPECT_EQ(image[w3], c.w3);
    EXPECT_EQ(image[w4], c.w4);
    EXPECT_EQ(image[w6], c.w6);
    EXPECT_EQ(image[w7], c.w7);
    // The calibration words and the reserved word pass through; the mark is always set.
    EXPECT_EQ(image[w0], 111);
    EXPECT_EQ(image[w2], 222);
    EXPECT_EQ(image[w8], 333);
    EXPECT_EQ(image[w15], 1);
}

INSTANTIATE_TEST_SUITE_P(
    Device, ConfigToImageTable,
    ::testing::Values(
        ImageCase{"Plain", 0, 2000, "+", "gwnorm", "2000", "2000", 0, 0, 0, 2049, 0, 4047, 4047},
        ImageCase{"Calibrated", 0, 2000, "+", "gwnorm", "1500", "1400", 65533, 8233, 0, 2049, 0,
                  3538, 3438},
        ImageCase{"NegativeGainNotApplied", 0, 2000, "+", "gwnorm", "2000", "2000", 0, -8191, 0,
                  2049, 0, 4047, 4047},
        ImageCase{"NegativeSpanDividesUnsigned", 0, -2000, "+", "gwnorm", "2000", "2000", 0, 0, 0,
                  63490, 0, 2113, 2113},
        ImageCase{"ZeroAbove", 100, 2100, "+", "gwnorm", "2000", "2000", 0, 0, 65436, 2049, 0, 3947,
                  3947},
        ImageCase{"ZeroBelow", -100, 1900, "+", "gwnorm", "0", "0", 0, 0, 100, 2049, 0, 2148, 2148},
        ImageCase{"NegativeTruncatesTowardZero", 0, 2000, "+", "gwnorm", "-1999", "-1999", 62536, 0,
                  0, 2049, 0, 62587, 62587},
        ImageCase{"ZeroSpanKeepsLow16Bits", 0, 0, "+", "gwnorm", "2000", "0", 0, 0, 0, 1, 0, 34816,
                  2048},
        ImageCase{"SpanClampedHigh", 0, 40000, "+", "gwnorm", "0", "0", 0, 0, 0, 32767, 0, 2048,
                  2048},
        ImageCase{"SpanClampedLow", 0, -40000, "+", "gwnorm", "0", "0", 0, 0, 0, 32770, 0, 2048,
                  2048},
        ImageCase{"BipolarInverted", 0, 2000, "+ / -", "gwinv", "2000", "2000", 0, 0, 0, 2049, 0xC0,
                  4047, 4047},
        ImageCase{"UnusedContact", 0, 2000, "+ / -", "gwno", "-7", "9999", 0, 0, 0, 2049, 0x80,
                  5000, 4500}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScalingCase {
    const char* name;
    const char *skalin1, *skalin2, *skalout1, *skalout2;
    std::array<std::uint16_t, 4> words;  // w9..w12; 7 marks a word left as it was
};

void PrintTo(const ScalingCase& c, std::ostream* os) {
    *os << c.name;
}

class ScalingWordsTable : public ::testing::TestWithParam<ScalingCase> {};

TEST_P(ScalingWordsTable, KeepTheOperatorsNumbers) {
    const ScalingCase& c = GetParam();
    DeviceRig rig;
    for (int word = w9; word <= w12; ++word) rig.device.DeviceImage[word] = 7;
    rig.model.setField(Field::Skalin1, c.skalin1);
    rig.model.setField(Field::Skalin2, c.skalin2);
    rig.model.setField(Field::Skalout1, c.skalout1);
    rig.model.setField(Field::Skalout2, c.skalout2);
    ConfigToImage(rig.device, rig.model);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rig.device.DeviceImage[w9 + i], c.words[i]) << "w" << 9 + i;
    // The limit words follow the guarded group whatever happened in it.
    EXPECT_EQ(rig.device.DeviceImage[w13], 12000);
}

INSTANTIATE_TEST_SUITE_P(
    Device, ScalingWordsTable,
    ::testing::Values(ScalingCase{"Example", "0", "20", "0", "2000", {10000, 12000, 10000, 12000}},
                      ScalingCase{
                          "Decimals", "-5,5", "4,5", "-1000", "0", {9450, 10450, 9000, 10000}},
                      ScalingCase{"InputRoundsDisplayTruncates",
                                  "0,07",
                                  "19,996",
                                  "-0,7",
                                  "9,9",
                                  {10007, 12000, 9999, 10009}},
                      ScalingCase{"StopsAtSecondText", "1", "x", "5", "5", {10100, 7, 7, 7}},
                      ScalingCase{"StopsAtLastText", "1", "2", "3", "", {10100, 10200, 10003, 7}},
                      ScalingCase{"AbsurdValueStopsToo", "1e300", "2", "3", "4", {7, 7, 7, 7}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceConfigToImage, LimitTextThatIsNoIntegerRaisesAfterTheEarlierWords) {
    DeviceRig rig;
    rig.model.DisplayAtZero = -100;
    rig.model.DisplayAtFullScale = 1900;
    rig.device.DeviceImage[w6] = 7;
    rig.device.DeviceImage[w9] = 7;
    rig.model.setField(Field::RelaisOn, "abc");
    EXPECT_THROW(ConfigToImage(rig.device, rig.model), ConversionError);
    EXPECT_EQ(rig.device.DeviceImage[w1], 100);
    EXPECT_EQ(rig.device.DeviceImage[w3], 2049);
    EXPECT_EQ(rig.device.DeviceImage[w6], 7);
    EXPECT_EQ(rig.device.DeviceImage[w9], 7);
}

TEST(DeviceTakeReceivedData, AssemblesTheMetersImageFromItsAnswers) {
    DeviceRig rig;
    ImageWords meter{};
    for (int i = 0; i < ImageWordCount; ++i)
        meter[i] = static_cast<std::uint16_t>(0x0101 * i + 0x80F0);
    PrepareReadFrame(rig.device, rig.transfer);
    rig.AnswerAsMeter(meter, 33);
    ASSERT_EQ(rig.transfer.ReceiveCount, 66);
    TakeReceivedData(rig.device, rig.transfer);
    EXPECT_EQ(rig.device.DeviceImage, meter);
    for (int i = 16; i < ReadWordCount; ++i) EXPECT_EQ(rig.device.ReadWords[i], 0) << i;
}

TEST(DeviceTakeReceivedData, UsesTheBufferWhateverTheCountSays) {
    DeviceRig rig;
    for (int k = 0; k < TransferState::ReceiveCapacity; ++k)
        rig.transfer.ReceiveBuffer[k] = k & 0xFF;
    for (const std::int32_t count : {0, -5, 1 << 30}) {
        rig.transfer.ReceiveCount = count;
        TakeReceivedData(rig.device, rig.transfer);
        EXPECT_EQ(rig.device.ReadWords[0], 3 + 256 * 5);
        EXPECT_EQ(rig.device.ReadWords[31], 127 + 256 * 129);
        EXPECT_EQ(rig.device.DeviceImage[15], 63 + 256 * 65);
    }
}

struct CheckCase {
    std::uint16_t echo, answer;
    std::int32_t received, expected;
    CountTolerance tolerance;
    ExchangeCheck result;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.echo << "/" << c.answer << " count " << c.received << " of " << c.expected;
}

class ExchangeCheckTable : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ExchangeCheckTable, NamesTheFirstFailedCheck) {
    const CheckCase& c = GetParam();
    TransferState transfer;
    transfer.SendBuffer[0] = CommandByte;
    transfer.ReceiveBuffer[0] = c.echo;
    transfer.ReceiveBuffer[1] = c.answer;
    transfer.ReceiveCount = c.received;
    transfer.ExpectedCount = c.expected;
    EXPECT_EQ(CheckExchange(transfer, c.tolerance), c.result);
}

constexpr auto Tolerant = CountTolerance::OneExtra;
INSTANTIATE_TEST_SUITE_P(
    Device, ExchangeCheckTable,
    ::testing::Values(CheckCase{0xA6, 0xA6, 66, 66, Tolerant, ExchangeCheck::Passed},
                      CheckCase{0xA6, 0xA6, 67, 66, Tolerant, ExchangeCheck::Passed},
                      CheckCase{0xA6, 0xA6, 65, 66, Tolerant, ExchangeCheck::DataIncomplete},
                      CheckCase{0xA6, 0xA6, 68, 66, Tolerant, ExchangeCheck::DataIncomplete},
                      CheckCase{0xA6, 0xA6, 131, 130, Tolerant, ExchangeCheck::Passed},
                      CheckCase{0xA6, 0xA6, 129, 130, Tolerant, ExchangeCheck::DataIncomplete},
                      CheckCase{0xA6, 0xA6, 67, 66, CountTolerance::Exact,
                                ExchangeCheck::DataIncomplete},
                      CheckCase{0xA6, 0xA6, 66, 66, CountTolerance::Exact, ExchangeCheck::Passed},
                      CheckCase{0, 0, 0, 66, Tolerant, ExchangeCheck::InterfaceMissing},
                      CheckCase{0xA5, 0xA6, 66, 66, Tolerant, ExchangeCheck::InterfaceMissing},
                      CheckCase{0xA6, 0, 1, 66, Tolerant, ExchangeCheck::ConnectionFailed},
                      CheckCase{0xA6, 0x26, 66, 66, Tolerant, ExchangeCheck::ConnectionFailed}));

struct ReadBackCase {
    const char* name;
    std::uint16_t flags, code, onWord;
    std::array<std::uint16_t, 6> words;  // w9..w14
    const char* polarity;
    const char* mode;
    std::array<const char*, 6> texts;  // Skalin1, Skalin2, Skalout1, Skalout2, RelaisOn, RelaisOff
    int decimalPoint;
};

void PrintTo(const ReadBackCase& c, std::ostream* os) {
    *os << c.name;
}

class ImageToConfigTable : public ::testing::TestWithParam<ReadBackCase> {};

TEST_P(ImageToConfigTable, WritesTheMetersValuesIntoTheEditor) {
    const ReadBackCase& c = GetParam();
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
    const Field fields[] = {Field::Skalin1,  Field::Skalin2,  Field::Skalout1,
                            Field::Skalout2, Field::RelaisOn, Field::RelaisOff};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(rig.model.field(fields[i]), PadField(c.texts[i])) << i;
}

// clang-format off
const ReadBackCase ReadBackCases[] = {
    {"Example", 0, 4, 4047, {10000, 12000, 10000, 12000, 12000, 12000},
     "+", "gwnorm", {"0", "20", "0", "2000", "2000", "2000"}, 4},
    {"Negatives", 0x80, 2, 4047, {9450, 10450, 9000, 10100, 9999, 8001},
     "+ / -", "gwnorm", {"-5,5", "4,5", "-1000", "100", "-1", "-1999"}, 2},
    {"InvertedLowByteCode", 0x40, 0x0103, 0, {10000, 10025, 10000, 10001, 10000, 10000},
     "+", "gwinv", {"0", "0,25", "0", "1", "0", "0"}, 3},
    {"UnusedWinsOverInverted", 0xC0, 0, 5000, {0, 65535, 10000, 10000, 10000, 10000},
     "+ / -", "gwno", {"-100", "555,35", "0", "0", "0", "0"}, 0},
    {"CodeWithoutRadio", 0, 7, 0, {10000, 12000, 10000, 12000, 10000, 10000},
     "+", "gwnorm", {"0", "20", "0", "2000", "0", "0"}, 7},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Device, ImageToConfigTable, ::testing::ValuesIn(ReadBackCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceImageToConfig, EndsWithAnEvaluationOfTheNewTexts) {
    DeviceRig rig;
    rig.model.setField(Field::Testin1, "12");
    auto& r = rig.device.ReadWords;
    r[w5] = 4;
    r[w9] = 10400;   // 4 -> 0
    r[w10] = 12000;  // 20 -> 1000
    r[w11] = 10000;
    r[w12] = 11000;
    r[w13] = r[w14] = 10000;
    ImageToConfig(rig.device, rig.editor, rig.fx);
    EXPECT_DOUBLE_EQ(rig.model.ScaleSlope, 62.5);
    EXPECT_EQ(rig.model.DisplayAtZero, -250);
    EXPECT_EQ(rig.model.Testout1.trimmed(), "500");
}

TEST(DeviceImageToConfig, EnglishLocaleWritesAPoint) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    DeviceRig rig;
    rig.device.ReadWords[w5] = 4;
    rig.device.ReadWords[w9] = 9450;
    rig.device.ReadWords[w10] = 12000;
    ImageToConfig(rig.device, rig.editor, rig.fx);
    QLocale::setDefault(before);
    EXPECT_EQ(rig.model.Skalin1, " -5.5");
}

// The radio's own rule evaluates the stale texts only when its check changes: a stale
// display of -2000 beeps its warning then, and never stops the take-over.
struct RadioCase {
    int before, code, beeps;
};

void PrintTo(const RadioCase& c, std::ostream* os) {
    *os << c.before << " -> " << c.code;
}

class DecimalPointRadioTable : public ::testing::TestWithParam<RadioCase> {};

TEST_P(DecimalPointRadioTable, RunsItsRuleOnlyWhenTheCheckChanges) {
    const RadioCase& c = GetParam();
    DeviceRig rig;
    rig.model.DecimalPoint = c.before;
    rig.model.setField(Field::Skalout1, "-2000");
    auto& r = rig.device.ReadWords;
    r[w5] = c.code;
    r[w9] = 10000;
    r[w10] = 12000;
    r[w11] = 10000;
    r[w12] = 12000;
    r[w13] = r[w14] = 12000;
    ImageToConfig(rig.device, rig.editor, rig.fx);
    EXPECT_EQ(rig.fx.beeps(), c.beeps);
    EXPECT_EQ(rig.model.DecimalPoint, c.code);
}

INSTANTIATE_TEST_SUITE_P(Device, DecimalPointRadioTable,
                         ::testing::Values(RadioCase{4, 2, 1}, RadioCase{2, 2, 0},
                                           RadioCase{7, 0, 1}, RadioCase{0, 9, 0},
                                           RadioCase{9, 9, 0}));

TEST(DeviceImageToConfig, StaleTextThatCannotBeEvaluatedDoesNotStopTheTakeOver) {
    DeviceRig rig;
    rig.model.DecimalPoint = 4;
    rig.model.setField(Field::RelaisOn, "abc");
    auto& r = rig.device.ReadWords;
    r[w5] = 1;
    r[w9] = 10000;
    r[w10] = 12000;
    r[w11] = 10000;
    r[w12] = 12000;
    r[w13] = 11500;
    r[w14] = 11400;
    EXPECT_NO_THROW(ImageToConfig(rig.device, rig.editor, rig.fx));
    EXPECT_EQ(rig.model.RelaisOn, " 1500");
    EXPECT_EQ(rig.model.DecimalPoint, 1);
}

TEST(DeviceImageToConfig, TestInputThatIsNoNumberRaisesAfterTheTakeOver) {
    DeviceRig rig;
    rig.model.setField(Field::Testin1, "?");
    rig.device.ReadWords[w13] = 11500;
    EXPECT_THROW(ImageToConfig(rig.device, rig.editor, rig.fx), ConversionError);
    EXPECT_EQ(rig.model.RelaisOn, " 1500");
}

TEST(DeviceInitialCalibrationImage, IsNeutral) {
    const ImageWords expected = {0, 0, 8192, 2048, 128, 0, 8192, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(InitialCalibrationImage(), expected);
}

}  // namespace
}  // namespace zmt

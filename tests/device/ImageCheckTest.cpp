// Which read images hold a configuration that this program could have written, and how the
// first value that none could is named.
#include "DeviceTestRig.h"
#include "LocaleGuard.h"
#include "device/ImageCheck.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <optional>
#include <vector>

namespace zmt {
namespace {

using testing::DeviceRig;
using namespace words;

constexpr ImageWords kWorkedExample{0, 0,     0,     2049,  0,     0,     4047,  4047,
                                    0, 10000, 12000, 10000, 12000, 12000, 12000, 1};

ImageWords Filled(std::uint16_t word) {
    ImageWords image;
    image.fill(word);
    return image;
}

ImageWords WorkedExampleWith(Word word, std::uint16_t value) {
    ImageWords image = kWorkedExample;
    image[word] = value;
    return image;
}

struct CheckCase {
    const char* name;
    ImageWords image;
    std::optional<InvalidImageValue> expected;
};

InvalidImageValue OutOfRange(Word word, std::uint16_t value) {
    return {word, InvalidReason::OutOfRange, value};
}

TEST(ImageCheck, FindsTheFirstWordNoConfigurationProduces) {
    const std::vector<CheckCase> cases = {
        {"worked example", kWorkedExample, std::nullopt},
        {"erased: every word 0xFFFF", Filled(0xFFFF), OutOfRange(w5, 0xFFFF)},
        // -100 is a valid input of the 100 mA type, -10000 a display the editor keeps.
        {"all zero: input (1) equals input (2)", Filled(0),
         InvalidImageValue{w10, InvalidReason::SameAsInput1, 0}},
        {"calibrated, inverted, bipolar, point 2",
         {65533, 100, 8233, 2049, 0xC0, 2, 3438, 3538, 7, 9450, 12000, 9000, 11500, 11400, 11500,
          1},
         std::nullopt},
        {"no decimal point", WorkedExampleWith(w5, 4), std::nullopt},
        {"decimal point code 5", WorkedExampleWith(w5, 5), OutOfRange(w5, 5)},
        {"decimal point with a high byte", WorkedExampleWith(w5, 0x0102), OutOfRange(w5, 0x0102)},
        {"a flag bit no configuration sets", WorkedExampleWith(w4, 0xC1), OutOfRange(w4, 0xC1)},
        {"input (1) at -100", WorkedExampleWith(w9, 0), std::nullopt},
        {"input (1) above 100", WorkedExampleWith(w9, 20001), OutOfRange(w9, 20001)},
        {"input (2) at 100", WorkedExampleWith(w10, 20000), std::nullopt},
        {"input (2) equals input (1)", WorkedExampleWith(w10, 10000),
         InvalidImageValue{w10, InvalidReason::SameAsInput1, 10000}},
        {"display (1) at 9999", WorkedExampleWith(w11, 19999), std::nullopt},
        {"display (1) at -5000, shown without minus", WorkedExampleWith(w11, 5000), std::nullopt},
        {"display (2) at 10000", WorkedExampleWith(w12, 20000), OutOfRange(w12, 20000)},
        {"limit ON at -1999", WorkedExampleWith(w13, 8001), std::nullopt},
        {"limit ON at -2000", WorkedExampleWith(w13, 8000), OutOfRange(w13, 8000)},
        {"limit OFF at 10000", WorkedExampleWith(w14, 20000), OutOfRange(w14, 20000)},
        {"never marked by the program", WorkedExampleWith(w15, 0), OutOfRange(w15, 0)},
        {"another mark", WorkedExampleWith(w15, 2), OutOfRange(w15, 2)},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstInvalidImageValue(c.image), c.expected) << c.name;
}

// Every image this program writes from a configuration the editor accepts passes, whatever
// the calibration put into the words computed for the meter.
TEST(ImageCheck, WhatTheProgramWritesPasses) {
    struct Config {
        const char *in1, *out1, *in2, *out2, *polarity, *mode, *on, *off;
        int decimalPoint;
    };
    const Config configs[] = {
        {"0", "0", "20", "2000", "+", "gwnorm", "2000", "2000", 0},
        {"-5,5", "-1000", "20", "1500", "+ / -", "gwinv", "-1999", "9999", 2},
        {"-20", "-5000", "20", "9999", "+ / -", "gwno", "-7", "9999", 4},
        {"20", "0", "-20", "-10000", "+", "gwnorm", "9999", "-1999", 3},
    };
    // Restores the program's default afterwards: a later test reads "-5,5" in it.
    const LocaleGuard german(QLocale::German);
    for (const Config& config : configs) {
        DeviceRig rig;
        rig.model.setField(Field::Skalin1, config.in1);
        rig.model.setField(Field::Skalout1, config.out1);
        rig.model.setField(Field::Skalin2, config.in2);
        rig.model.setField(Field::Skalout2, config.out2);
        rig.model.setField(Field::RelaisOn, config.on);
        rig.model.setField(Field::RelaisOff, config.off);
        rig.model.polaritaet = config.polarity;
        rig.model.LimitMode = config.mode;
        rig.model.DecimalPoint = config.decimalPoint;
        rig.device.DeviceImage = Filled(0xFFFF);  // w0, w2, w8 as a calibration left them
        rig.device.OffsetReading = 65533;
        rig.device.GainFactor = 8233;
        ConfigToImage(rig.device, rig.model);
        EXPECT_EQ(FirstInvalidImageValue(rig.device.DeviceImage), std::nullopt) << config.out1;
    }
}

struct NameCase {
    InvalidImageValue invalid;
    const char* german;
    const char* english;
};

TEST(ImageCheck, NamesTheValueAsTheOperatorKnowsIt) {
    const std::vector<NameCase> cases = {
        {OutOfRange(w5, 0xFFFF), "Dezimalpunkt-Code 255", "decimal point code 255"},
        {OutOfRange(w5, 0x0102), "Dezimalpunkt-Code 258", "decimal point code 258"},
        {OutOfRange(w4, 0xFFFF), "Polaritäts- und Kontaktbits 0xFFFF",
         "polarity and contact bits 0xFFFF"},
        {OutOfRange(w4, 0x00C1), "Polaritäts- und Kontaktbits 0x00C1",
         "polarity and contact bits 0x00C1"},
        {OutOfRange(w9, 30000), "Eingang (1) 200", "input (1) 200"},
        {{w10, InvalidReason::SameAsInput1, 0},
         "Eingang (1) = Eingang (2) = -100",
         "input (1) = input (2) = -100"},
        {OutOfRange(w12, 0xFFFF), "Anzeige (2) 55535", "display (2) 55535"},
        {OutOfRange(w13, 0), "Grenzwert ON -10000", "limit ON -10000"},
        {OutOfRange(w14, 0xFFFF), "Grenzwert OFF 55535", "limit OFF 55535"},
        {OutOfRange(w15, 0), "Programmkennung 0", "program mark 0"},
    };
    LanguageText texts;
    texts.FillLanguageText();
    for (const auto& c : cases) {
        EXPECT_EQ(InvalidImageValueText(c.invalid, texts, 0), QString::fromUtf8(c.german));
        EXPECT_EQ(InvalidImageValueText(c.invalid, texts, 1), QString::fromUtf8(c.english));
    }
    const auto erased = FirstInvalidImageValue(Filled(0xFFFF));
    ASSERT_TRUE(erased);
    EXPECT_EQ(
        NoValidConfigurationLine(*erased, texts, 0),
        QString::fromUtf8("Das Gerät enthält keine gültige Konfiguration: Dezimalpunkt-Code 255"));
    EXPECT_EQ(NoValidConfigurationLine(*erased, texts, 1),
              "the meter holds no valid configuration: decimal point code 255");
}

}  // namespace
}  // namespace zmt

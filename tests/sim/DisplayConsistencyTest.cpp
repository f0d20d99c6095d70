// The meter's display model against the editor's prediction and the device words: what
// the configuration tool says the meter will show is what the simulated meter shows.

#include "device/Calibration.h"
#include "device/DeviceImage.h"
#include "editor/ConfigEditor.h"
#include "editor/Numbers.h"
#include "language/LanguageText.h"
#include "sim/DisplayModel.h"
#include "sim/LimitContact.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace zmt::sim {
namespace {

struct Configuration {
    const char* name;
    int type;  // SelectRange index: 0 10 mA, 1 20 mA, 2 100 mA, 3 1 V, 4 10 V, 5 50 V
    const char* skalin1;
    const char* skalout1;
    const char* skalin2;
    const char* skalout2;
    const char* polarity;
    const char* mode;
    const char* limit;  // ON and OFF alike, so the editor's rules leave them in place
    int point;
};

// The editor with one configuration entered and evaluated.
struct Editor {
    LanguageText texts;
    ConfigModel model;
    SessionState session;
    ConfigEditor editor{model, session, texts};

    explicit Editor(const Configuration& c) {
        texts.FillLanguageText();
        model.SelectRange = c.type;
        editor.UpdateRangeInfo();
        model.setField(Field::Skalin1, c.skalin1);
        model.setField(Field::Skalout1, c.skalout1);
        model.setField(Field::Skalin2, c.skalin2);
        model.setField(Field::Skalout2, c.skalout2);
        model.setField(Field::RelaisOn, c.limit);
        model.setField(Field::RelaisOff, c.limit);
        model.polaritaet = c.polarity;
        model.LimitMode = c.mode;
        model.DecimalPoint = c.point;
        evaluate(0);
    }

    void evaluate(double input) {
        model.setField(Field::Testin1, numbers::FormatGeneral(input));
        Effects fx;
        editor.Recalculate(fx);
    }

    std::int64_t predicted() const {
        QString digits = model.Testout1.trimmed();
        digits.remove(',');
        return digits.toLongLong();
    }

    // The words a plain write sends to a meter read back with no offset and unity gain.
    ImageWords written() const {
        DeviceState device;
        device.DeviceImage = FactoryImage();
        ConfigToImage(device, model);
        return device.DeviceImage;
    }
};

// A rising scale keeps within one count. A falling one cannot: the span word of a negative
// span comes out one to two counts per 2000 too small in magnitude (the half added before
// the division and the add-half-truncate of a negative value both push it toward zero).
constexpr std::int64_t RisingTolerance = 1;
constexpr std::int64_t FallingTolerance = 3;

const std::vector<Configuration>& Configurations() {
    static const std::vector<Configuration> table = {
        {"defaults 0..20 mA -> 0..2000", 1, "0", "0", "20", "2000", "+ / -", "gwnorm", "1000", 4},
        {"4..20 mA -> 0..1000", 1, "4", "0", "20", "1000", "+ / -", "gwnorm", "500", 4},
        {"4..20 mA positive only", 1, "4", "0", "20", "1000", "+", "gwinv", "300", 4},
        {"two decimals", 1, "0", "0", "20", "2000", "+ / -", "gwnorm", "1500", 2},
        {"three decimals 10 V", 4, "0", "0", "10", "5000", "+ / -", "gwinv", "2500", 3},
        {"point after the last digit", 0, "-10", "-1000", "10", "1000", "+ / -", "gwno", "0", 0},
        {"one decimal 1 V fine span", 3, "0,2", "100", "0,8", "700", "+", "gwnorm", "400", 1},
        {"large span 100 mA", 2, "0", "0", "100", "9999", "+ / -", "gwnorm", "7000", 4},
        {"offset zero point", 5, "0", "-500", "50", "1500", "+ / -", "gwinv", "200", 4},
        {"extrapolated points", 1, "5", "250", "15", "750", "+ / -", "gwnorm", "900", 2},
        {"falling 0..20 -> 2000..0", 1, "0", "2000", "20", "0", "+ / -", "gwno", "0", 4},
        {"falling positive only", 4, "0", "1000", "10", "-1000", "+", "gwno", "0", 1},
        {"falling large span", 2, "0", "9000", "100", "0", "+ / -", "gwno", "0", 4},
    };
    return table;
}

bool Rising(const Editor& e) {
    return e.model.DisplayAtFullScale > e.model.DisplayAtZero;
}

std::vector<double> Sweep(double fullScale) {
    std::vector<double> inputs;
    for (int step = -40; step <= 40; ++step) inputs.push_back(fullScale * step / 40.0);
    for (double odd : {0.013, 0.3337, 0.5011, 0.77777, 0.9999}) {
        inputs.push_back(fullScale * odd);
        inputs.push_back(-fullScale * odd);
    }
    return inputs;
}

TEST(DisplayConsistency, MeterShowsWhatTheEditorPredictsAfterAWrite) {
    for (const auto& c : Configurations()) {
        Editor e(c);
        const ImageWords image = e.written();
        const MeterAnalog perfect{e.model.RangeFullScale, 0, 1};
        const std::int64_t tolerance = Rising(e) ? RisingTolerance : FallingTolerance;
        for (double input : Sweep(e.model.RangeFullScale)) {
            e.evaluate(input);
            const DisplayedValue shown =
                ShowOnDigits(image, ScaledValue(image, RawCounts(perfect, input)));
            const std::int64_t predicted = e.predicted();
            if (predicted < -1999) continue;  // the digits drop the minus there; see below
            EXPECT_LE(std::llabs(shown.value - predicted), tolerance)
                << c.name << " input " << input << " editor " << e.model.Testout1.toStdString()
                << " meter " << shown.text;
            if (shown.value == predicted) {
                EXPECT_EQ(shown.text, e.model.Testout1.trimmed().toStdString())
                    << c.name << " input " << input;
            }
        }
    }
}

TEST(DisplayConsistency, BelowMinus1999TheDigitsLoseTheMinusTheEditorStillShows) {
    Editor e({"steep", 1, "0", "0", "10", "2000", "+ / -", "gwno", "0", 4});
    e.evaluate(-12.5);
    EXPECT_EQ(e.model.Testout1.trimmed(), "-2500");
    const ImageWords image = e.written();
    EXPECT_EQ(ShowOnDigits(image, ScaledValue(image, RawCounts({20, 0, 1}, -12.5))).text, "2500");
}

// Where the editor's indicator and the meter may differ: one raw count around the limit,
// which is more than one display count on a span of more than 2000.
std::int64_t ContactTolerance(const Editor& e) {
    const double span = e.model.DisplayAtFullScale - e.model.DisplayAtZero;
    return 1 + static_cast<std::int64_t>(std::ceil(std::fabs(span) / 2000));
}

ContactState EditorContact(const Editor& e) {
    switch (e.model.kontaktbildGlyph) {
        case Glyph::kontaktonbild:
            return ContactState::Closed;
        case Glyph::kontaktoffbild:
            return ContactState::Open;
        default:
            return ContactState::NotUsed;
    }
}

TEST(DisplayConsistency, ContactSwitchesWhereTheEditorSaysOnRisingScales) {
    for (const auto& c : Configurations()) {
        Editor e(c);
        if (!Rising(e)) continue;  // a falling span word makes the thresholds meaningless
        const ImageWords image = e.written();
        const MeterAnalog perfect{e.model.RangeFullScale, 0, 1};
        const std::int64_t limit = std::atoi(c.limit);
        for (double input : Sweep(e.model.RangeFullScale)) {
            e.evaluate(input);
            const std::int64_t predicted = e.predicted();
            // The editor compares the magnitude of the display, the meter its raw value:
            // they agree only where the display is not negative.
            if (predicted < 0 || std::llabs(predicted - limit) <= ContactTolerance(e)) continue;
            LimitContact contact;
            EXPECT_EQ(contact.update(image, RawCounts(perfect, input)), EditorContact(e))
                << c.name << " input " << input << " editor " << predicted;
        }
    }
}

TEST(DisplayConsistency, NegativeDisplayCountsAsItsMagnitudeOnlyInTheEditor) {
    Editor e({"signed", 1, "0", "0", "20", "2000", "+ / -", "gwnorm", "100", 4});
    e.evaluate(-5);  // the display shows -500
    EXPECT_EQ(EditorContact(e), ContactState::Closed);
    LimitContact contact;
    EXPECT_EQ(contact.update(e.written(), RawCounts({20, 0, 1}, -5)), ContactState::Open);
}

struct MeterErrors {
    double offset;
    double gain;
};

// What the operator types: the digits the meter shows, without the decimal point.
QString Reading(const ImageWords& image, const MeterAnalog& meter, double input) {
    return QString::number(ShowOnDigits(image, ScaledValue(image, RawCounts(meter, input))).value);
}

TEST(DisplayConsistency, CalibrationWithTheOperatorsReadingsGivesZeroAnd2000) {
    const std::vector<MeterErrors> meters = {
        {0, 1},   {-3, 1.005},    {4.4, 0.987}, {-12.6, 1.0321}, {25, 0.95},
        {7, 1.1}, {-0.4, 0.9995}, {15.8, 1.02}, {-7.3, 0.973},
    };
    for (const auto& m : meters) {
        SCOPED_TRACE(testing::Message() << "offset " << m.offset << " gain " << m.gain);
        Editor e({"defaults", 1, "0", "0", "20", "2000", "+ / -", "gwnorm", "2000", 4});
        const MeterAnalog meter{20, m.offset, m.gain};
        DeviceState device;
        device.DeviceImage = InitialCalibrationImage();
        // The neutral image shows the meter's own offset at zero input.
        EXPECT_EQ(Reading(device.DeviceImage, meter, 0).toInt(), std::trunc(m.offset));
        ASSERT_TRUE(TakeOffsetReading(Reading(device.DeviceImage, meter, 0), device).valid());
        // Restarted with the offset word, it shows 2000 x gain for the calibration signal,
        // give or take the fraction of its offset that the reading dropped.
        EXPECT_NEAR(Reading(device.DeviceImage, meter, 20).toInt(), 2000 * m.gain, 2);
        ASSERT_TRUE(
            TakeGainReading(Reading(device.DeviceImage, meter, 20), device, e.model).valid());
        const ImageWords calibrated = device.DeviceImage;
        EXPECT_LE(std::abs(Reading(calibrated, meter, 0).toInt()), 1);
        EXPECT_LE(std::abs(Reading(calibrated, meter, 20).toInt() - 2000), 1);
    }
}

TEST(DisplayConsistency, InitialCalibrationImageShowsRawOffsetAndGain) {
    const std::vector<MeterErrors> meters = {{0, 1}, {-3, 1.005}, {9, 0.99}, {-20, 1.02}};
    const ImageWords neutral = InitialCalibrationImage();
    for (const auto& m : meters) {
        const MeterAnalog meter{10, m.offset, m.gain};
        EXPECT_EQ(Reading(neutral, meter, 0).toInt(), m.offset);
        EXPECT_EQ(Reading(neutral, meter, 10).toInt(), std::lround(m.offset + 2000 * m.gain));
    }
}

}  // namespace
}  // namespace zmt::sim

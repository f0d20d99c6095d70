#include "VirtualTime.h"
#include "app/demo/DemoBench.h"
#include "app/demo/IndicatorLed.h"
#include "app/demo/SevenSegmentDisplay.h"
#include "app/demo/VirtualMeterWindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <chrono>
#include <memory>
#include <vector>

namespace zmt::demo {
namespace {

using namespace std::chrono_literals;

// A quick start-up keeps these real-time tests short.
sim::LineTiming QuickStart() {
    sim::LineTiming timing;
    timing.startup = 20ms;
    return timing;
}

// The limit contact used: closes at 1000 counts, opens at 900, normal sense.
sim::ImageWords ImageWithContact() {
    sim::ImageWords image = sim::FactoryImage();
    image[sim::word::ContactOn] = static_cast<std::uint16_t>(sim::RawBias + 1000);
    image[sim::word::ContactOff] = static_cast<std::uint16_t>(sim::RawBias + 900);
    return image;
}

LanguageText FilledTexts() {
    LanguageText texts;
    texts.FillLanguageText();
    return texts;
}

SessionState InEnglish() {
    SessionState session;
    session.LanguageIndex = 1;
    return session;
}

struct VirtualMeterFixture : ::testing::Test {
    test::VirtualTime time;
    DemoBench bench{QuickStart(), time.clock};
    LanguageText texts = FilledTexts();
    SessionState session = InEnglish();  // the main window's language
    VirtualMeterWindow window{bench, texts, session};

    template <typename W>
    W& child(const char* name) {
        W* widget = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }

    // What the program does at its first activation: open the port and power the meter.
    std::unique_ptr<link::PlatformDevice> powerUp(int comNumber) {
        auto port = bench.deviceFactory()();
        EXPECT_TRUE(port->open(comNumber).ok());
        port->lineFunction(link::LineFunction::SetDtr);
        const auto station = bench.station(comNumber);
        time.runFor(QuickStart().startup);
        EXPECT_TRUE(station->ready());
        window.refresh();
        return port;
    }

    // The display the window draws against what the simulated meter shows right now.
    void expectDisplayFollowsMeter(int comNumber, const std::string& expectedText) {
        const std::string shown = bench.station(comNumber)->displayText();
        EXPECT_EQ(shown, expectedText);
        EXPECT_EQ(child<SevenSegmentDisplay>("MeterDisplay").cells(), CellsForText(shown));
    }
};

TEST_F(VirtualMeterFixture, ShowsThePortTheProgramOpensAndItsLines) {
    auto port = powerUp(2);
    EXPECT_EQ(child<QGroupBox>("MeterGroup").title(), QStringLiteral("Meter on COM2"));
    EXPECT_TRUE(child<IndicatorLed>("PowerLed").isLit());
    EXPECT_FALSE(child<IndicatorLed>("SignalLed").isLit());
    EXPECT_EQ(child<QLabel>("MeterState").text(), QStringLiteral("COM2: meter running"));
    expectDisplayFollowsMeter(2, "0");

    port->lineFunction(link::LineFunction::ClrDtr);
    window.refresh();
    EXPECT_FALSE(child<IndicatorLed>("PowerLed").isLit());
    EXPECT_EQ(child<SevenSegmentDisplay>("MeterDisplay").cells(), DigitCells{});
}

TEST_F(VirtualMeterFixture, KeepsThePortInViewWhileNoneIsOpenAndFollowsTheNextOne) {
    powerUp(3).reset();
    window.refresh();
    EXPECT_EQ(window.lastSnapshot().comNumber, 3);
    EXPECT_FALSE(window.lastSnapshot().attached);
    auto port = powerUp(1);
    EXPECT_EQ(window.lastSnapshot().comNumber, 1);
    EXPECT_TRUE(window.lastSnapshot().attached);
}

struct InputCase {
    const char* name;
    int meterType;
    double input;
    double offsetDigits;
    double gainPercent;
    const char* displayed;  // the factory image shows 2000 digits at full scale
};

TEST_F(VirtualMeterFixture, ControlsSetTheSimulatedInputAndTheMeterErrors) {
    const std::vector<InputCase> cases = {
        {"zero", 1, 0, 0, 0, "0"},
        {"half scale 20 mA", 1, 10, 0, 0, "1000"},
        {"full scale 20 mA", 1, 20, 0, 0, "2000"},
        {"negative input", 1, -5, 0, 0, "-500"},
        {"overload beyond full scale", 1, 30, 0, 0, "3000"},
        {"offset error", 1, 10, 5, 0, "1005"},
        {"gain error", 1, 20, 0, 1, "2020"},
        {"both errors", 1, 10, -3, -0.5, "992"},
        {"1 V meter", 3, 0.25, 0, 0, "500"},
        {"100 mA meter", 2, 75, 0, 0, "1500"},
    };
    auto port = powerUp(1);
    for (const auto& c : cases) {
        child<QComboBox>("MeterType").setCurrentIndex(c.meterType);
        child<QDoubleSpinBox>("InputSignal").setValue(c.input);
        child<QDoubleSpinBox>("OffsetError").setValue(c.offsetDigits);
        child<QDoubleSpinBox>("GainError").setValue(c.gainPercent);
        window.refresh();
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(bench.knobs().input, c.input);
        expectDisplayFollowsMeter(1, c.displayed);
    }
}

TEST_F(VirtualMeterFixture, EveryStationGetsTheSameMeterSettings) {
    child<QDoubleSpinBox>("InputSignal").setValue(4);
    child<QDoubleSpinBox>("GainError").setValue(2);
    for (int com = FirstCom; com <= LastCom; ++com) {
        EXPECT_DOUBLE_EQ(bench.station(com)->analog().gainError, 1.02) << com;
        EXPECT_DOUBLE_EQ(bench.station(com)->analog().fullScale, 20) << com;
    }
    auto port = powerUp(4);
    expectDisplayFollowsMeter(4, "408");
}

TEST_F(VirtualMeterFixture, ChangingTheMeterTypeCarriesTheInputAndItsUnit) {
    auto port = powerUp(1);
    child<QDoubleSpinBox>("InputSignal").setValue(10);
    child<QComboBox>("MeterType").setCurrentIndex(4);  // 10 V
    window.refresh();
    EXPECT_DOUBLE_EQ(bench.knobs().input, 5);
    EXPECT_EQ(child<QDoubleSpinBox>("InputSignal").suffix(), QStringLiteral(" V"));
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>("InputSignal").maximum(), 15);
    expectDisplayFollowsMeter(1, "1000");
}

TEST_F(VirtualMeterFixture, SliderAndSpinBoxMoveTogether) {
    auto& slider = child<QSlider>("InputSlider");
    auto& spin = child<QDoubleSpinBox>("InputSignal");
    slider.setValue(slider.maximum());
    EXPECT_DOUBLE_EQ(spin.value(), 30);
    EXPECT_DOUBLE_EQ(bench.knobs().input, 30);
    spin.setValue(-20);
    EXPECT_EQ(slider.value(), slider.minimum());
    slider.setValue(400);  // -20 + 50 x 0.4
    EXPECT_DOUBLE_EQ(bench.knobs().input, 0);
}

TEST_F(VirtualMeterFixture, RtsPutsTheCalibrationSignalOnTheInput) {
    auto port = powerUp(1);
    child<QDoubleSpinBox>("InputSignal").setValue(3);
    port->lineFunction(link::LineFunction::SetRts);
    window.refresh();
    EXPECT_TRUE(child<IndicatorLed>("SignalLed").isLit());
    EXPECT_TRUE(child<QLabel>("InputState").text().startsWith(QStringLiteral("Calibration")));
    expectDisplayFollowsMeter(1, "2000");
    port->lineFunction(link::LineFunction::ClrRts);
    window.refresh();
    expectDisplayFollowsMeter(1, "300");
}

struct ContactCase {
    double input;
    bool ledLit;
};

TEST_F(VirtualMeterFixture, LimitLedFollowsTheContactWithItsHysteresis) {
    bench.station(1)->setStoredImage(ImageWithContact());
    auto port = powerUp(1);
    const std::vector<ContactCase> rising_then_falling = {
        {5, false}, {9.5, false}, {10, true}, {15, true}, {9.5, true}, {9, false}, {2, false},
    };
    for (const auto& c : rising_then_falling) {
        child<QDoubleSpinBox>("InputSignal").setValue(c.input);
        window.refresh();
        EXPECT_EQ(child<IndicatorLed>("LimitLed").isLit(), c.ledLit) << c.input << " mA";
    }
}

TEST_F(VirtualMeterFixture, FactoryMeterSaysItsContactIsNotUsed) {
    auto port = powerUp(1);
    child<QDoubleSpinBox>("InputSignal").setValue(20);
    window.refresh();
    EXPECT_FALSE(child<IndicatorLed>("LimitLed").isLit());
    EXPECT_EQ(child<QLabel>("ContactState").text(), QStringLiteral("limit contact not used"));
}

TEST_F(VirtualMeterFixture, RefreshesOnItsOwnOnlyWhileShown) {
    auto port = powerUp(2);
    bench.setInput(7);
    const auto polls = std::chrono::milliseconds(3 * VirtualMeterWindow::PollIntervalMs);
    time.runFor(polls);
    EXPECT_EQ(window.lastSnapshot().displayText, "0");
    window.show();
    bench.setInput(8);
    time.runFor(std::chrono::milliseconds(VirtualMeterWindow::PollIntervalMs));
    EXPECT_EQ(window.lastSnapshot().displayText, "800");
    window.hide();
    bench.setInput(9);
    time.runFor(polls);
    EXPECT_EQ(window.lastSnapshot().displayText, "800");
}

struct CaptionCase {
    const char* control;
    const char* german;
    const char* english;
};

// Every caption of the window, by control, in both languages.
const CaptionCase kCaptionCases[] = {
    {"MeterGroup", "Messgerät an COM2", "Meter on COM2"},
    {"ContactState", "Grenzkontakt nicht benutzt", "limit contact not used"},
    {"MeterState", "COM2: Messgerät läuft", "COM2: meter running"},
    {"LinesGroup", "Interface-Leitungen", "Interface lines"},
    {"PowerLabel", "Versorgung (DTR)", "power (DTR)"},
    {"SignalLabel", "Signal (RTS)", "signal (RTS)"},
    {"InputGroup", "Eingangssignal", "Input signal"},
    {"MeterTypeLabel", "Geräte-Typ:", "Meter type:"},
    {"InputLabel", "Eingang:", "Input:"},
    {"InputState", "4.000 mA am Eingang", "4.000 mA at the input"},
    {"ErrorGroup", "Fehler des Messgeräts (zum Kalibrieren)",
     "Errors of the meter (for calibrating)"},
    {"OffsetErrorLabel", "Offsetfehler:", "Offset error:"},
    {"GainErrorLabel", "Verstärkungsfehler:", "Gain error:"},
    {"Counters", "Einschaltungen: 1, gespeicherte Konfigurationen: 0",
     "power-ups: 1, configurations stored: 0"},
};

QString Caption(QWidget& window, const char* control) {
    QObject* child = window.findChild<QObject*>(QString::fromLatin1(control));
    if (auto* group = qobject_cast<QGroupBox*>(child)) return group->title();
    if (auto* label = qobject_cast<QLabel*>(child)) return label->text();
    return QStringLiteral("(no caption: %1)").arg(QString::fromLatin1(control));
}

TEST_F(VirtualMeterFixture, SpeaksTheMainWindowsLanguageAndFollowsItsSwitch) {
    auto port = powerUp(2);
    bench.setInput(4);
    window.show();
    // Switched while the window is on screen: its next look at the meter picks it up.
    for (int language : {0, 1, 0}) {
        session.LanguageIndex = language;
        time.runFor(std::chrono::milliseconds(VirtualMeterWindow::PollIntervalMs));
        SCOPED_TRACE(language);
        for (const CaptionCase& c : kCaptionCases)
            EXPECT_EQ(Caption(window, c.control),
                      QString::fromUtf8(language == 0 ? c.german : c.english))
                << c.control;
        EXPECT_EQ(window.windowTitle(), language == 0
                                            ? QString::fromUtf8("Virtuelles Messgerät ZMT 48x24")
                                            : QStringLiteral("Virtual meter ZMT 48x24"));
        EXPECT_EQ(child<QDoubleSpinBox>("OffsetError").suffix(),
                  language == 0 ? QStringLiteral(" Digits") : QStringLiteral(" digits"));
    }
    window.hide();
}

// The switch takes the meter off every interface and puts it back; the interface stays, and
// a meter plugged in while the program powers it starts again.
TEST_F(VirtualMeterFixture, PluggedInSwitchTakesTheMeterOffTheInterfaceAndPutsItBack) {
    auto port = powerUp(3);
    auto& plugged = child<QCheckBox>("MeterPlugged");
    EXPECT_TRUE(plugged.isChecked());
    EXPECT_EQ(plugged.text(), QStringLiteral("meter plugged in"));
    plugged.click();
    for (int com = FirstCom; com <= LastCom; ++com) {
        EXPECT_FALSE(bench.station(com)->meterPlugged()) << com;
        EXPECT_TRUE(bench.station(com)->isAttached() || com != 3);
    }
    EXPECT_FALSE(bench.station(3)->ready());
    EXPECT_FALSE(bench.knobs().meterPlugged);
    // The DTR light stays on; the state says why the meter is dark.
    EXPECT_TRUE(child<IndicatorLed>("PowerLed").isLit());
    EXPECT_EQ(child<QLabel>("MeterState").text(), QStringLiteral("COM3: no meter plugged in"));
    plugged.click();
    time.runFor(QuickStart().startup);
    for (int com = FirstCom; com <= LastCom; ++com)
        EXPECT_TRUE(bench.station(com)->meterPlugged()) << com;
    EXPECT_TRUE(bench.station(3)->ready());
    session.LanguageIndex = 0;
    window.refresh();
    EXPECT_EQ(plugged.text(), QString::fromUtf8("Messgerät angesteckt"));
}

}  // namespace
}  // namespace zmt::demo

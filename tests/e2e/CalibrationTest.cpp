// Calibrating and writing a meter with an offset and a gain error of its own: the test
// reads the simulated display at each prompt and types it in, as an operator would.
#include "OperationFixture.h"

#include <QCheckBox>
#include <QLabel>

namespace zmt::e2e {
namespace {

class CalibrationTest : public OperationTest {
  protected:
    // Types the meter's reading into the entry and confirms it with ENTER.
    void TypeReading(const QString& reading) {
        auto* entry = control<QLineEdit>("Anzeige");
        entry->selectAll();
        entry->del();
        QTest::keyClicks(entry, reading);
        QTest::keyClick(entry, Qt::Key_Return);
    }
    bool WaitForPrompt(const QString& title) {
        return WaitFor(
            [&] { return shown("Anzeige") && control<QLabel>("Label1")->text() == title; });
    }
    // The meter restarted after the last write and the signal is as the prompt wants it.
    bool WaitForSteadyMeter(bool signal) {
        OperationSequencer& steps = ops().sequencer();
        return WaitFor([&] {
            return !steps.waittimer().enabled() && !steps.resettimer().enabled() &&
                   !steps.offsettimer().enabled() && station->rts() == signal &&
                   station->displayed().has_value();
        });
    }
    QString Reading() { return QString::number(station->displayed()->value); }
};

TEST_F(CalibrationTest, AMeterWithOffsetAndGainErrorsShowsTheConfiguredValuesAfterwards) {
    AddMeter(sim::FactoryImage());
    station->setOffsetError(7);
    station->setGainError(1.013);
    StartProgram();
    QString offsetReading, gainReading;
    QStringList finalInfo;
    RunOperation("KalParButt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitForPrompt("Offset-Abgleich"));
        ASSERT_TRUE(WaitForSteadyMeter(false));
        offsetReading = Reading();
        TypeReading(offsetReading);
        ASSERT_TRUE(button("OKButton")->isEnabled());
        button("OKButton")->click();

        ASSERT_TRUE(WaitForPrompt(QString::fromUtf8("Verstärkungs-Abgleich")));
        ASSERT_TRUE(WaitForSteadyMeter(true));
        gainReading = Reading();
        TypeReading(gainReading);
        button("OKButton")->click();

        ASSERT_TRUE(WaitUntilSettled());
        finalInfo = InfoLines();
        EXPECT_EQ(InfoColour(), QColor(0, 255, 0));
        ASSERT_TRUE(WaitForPowerCycle());
    });
    EXPECT_EQ(offsetReading, "7");
    EXPECT_EQ(gainReading, "2026");  // 2000 x 1.013, the offset already taken out
    EXPECT_EQ(finalInfo, QStringList({"Gerät erfolgreich kalibriert und parametriert"}));
    const sim::ImageWords stored = station->storedImage();
    EXPECT_EQ(stored[0], 7);
    EXPECT_EQ(stored[2], 8087);  // 2000 / 2026 x 8192, add-half-truncated
    EXPECT_EQ(program->device.GainFactor, 8087);

    // With the signal off the meter follows the configuration across its range.
    QCheckBox& signal = *mainCheckBox("switchsignal");
    ASSERT_TRUE(WaitFor([&] { return signal.isEnabled(); }));
    signal.click();
    ASSERT_TRUE(WaitFor([&] { return !station->rts(); }));
    const std::pair<double, int> expected[] = {
        {0, 0}, {5, 500}, {10, 1000}, {15, 1500}, {20, 2000}};
    for (const auto& [input, display] : expected) {
        station->setInput(input);
        const auto shownValue = Displayed();
        ASSERT_TRUE(shownValue.has_value()) << input;
        EXPECT_NEAR(static_cast<double>(*shownValue), display, 1) << input;
    }
    station->setInput(0);
    EXPECT_EQ(Displayed(), 0);
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

TEST_F(CalibrationTest, AGainReadingOfZeroIsRefusedUntilCorrected) {
    AddMeter(sim::FactoryImage());
    StartProgram();
    QStringList afterZero;
    bool okAfterZero = true, okAfterCorrection = false;
    RunOperation("KalParButt", [&] {
        button("weiterbutton")->click();
        ASSERT_TRUE(WaitForPrompt("Offset-Abgleich"));
        TypeReading("0");
        button("OKButton")->click();
        ASSERT_TRUE(WaitForPrompt(QString::fromUtf8("Verstärkungs-Abgleich")));
        const int imagesBefore = station->imagesStored();
        TypeReading("0");
        afterZero = InfoLines();
        okAfterZero = button("OKButton")->isEnabled();
        button("OKButton")->click();  // unavailable: nothing is written
        EXPECT_FALSE(ops().sequencer().AwaitingTransfer());
        EXPECT_FALSE(Happens([&] { return station->imagesStored() != imagesBefore; }));
        TypeReading("2000");
        okAfterCorrection = button("OKButton")->isVisible() && button("OKButton")->isEnabled();
    });
    ASSERT_GE(afterZero.size(), 2);
    EXPECT_EQ(afterZero[afterZero.size() - 2], "Eingabefehler");
    EXPECT_FALSE(afterZero.last().isEmpty());
    EXPECT_FALSE(okAfterZero);
    EXPECT_TRUE(okAfterCorrection);
    EXPECT_EQ(program->device.GainFactor, 8192);
}

}  // namespace
}  // namespace zmt::e2e

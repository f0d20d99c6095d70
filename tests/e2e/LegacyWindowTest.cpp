// The older calibration window, opened by the main window's hidden button: its read task
// with the write-back and its older interpretation of the image.
#include "OperationFixture.h"

#include "common/Beep.h"

namespace zmt::e2e {
namespace {

// Decimal point code 1, zero word 100, gain word 16384 over w7 8192: the older reading
// gives (0.5 x 0.5 / 0.25) x 2000 / 1.0003 = 1999.4 -> 1999 at full scale.
sim::ImageWords LegacyImage() {
    return {0, 100,   16384, 2049,  0x80,  1,     5000,  8192,
            0, 10000, 12000, 10000, 12000, 12000, 12000, 1};
}

class LegacyWindowTest : public OperationTest {
  protected:
    TForm2& form2() { return program->Form2(); }
    QStringList Lines(const char* name) {
        return form2().findChild<QPlainTextEdit*>(name)->toPlainText().split('\n');
    }
    bool Shown(const char* name) {
        return form2().findChild<QWidget*>(name)->isVisibleTo(&form2());
    }
    // Opens the window, starts its read and waits for the task to end.
    void RunReadTask() {
        program->Form1().findChild<QPushButton*>("Kalbutt")->click();
        ASSERT_TRUE(form2().isVisible());
        form2().findChild<QPushButton*>("weiterbutton")->click();
        ASSERT_TRUE(WaitFor([&] {
            return form2().sequencer().LegacyTask() == TaskFinished &&
                   !form2().sequencer().AwaitingTransfer();
        }));
    }
};

TEST_F(LegacyWindowTest, ReadTaskWritesTheImageBackAndGivesTheOlderValues) {
    AddMeter(LegacyImage());
    StartProgram();
    const int beeps = BeepCount();
    RunReadTask();
    EXPECT_EQ(Lines("Info"),
              QStringList({"-  Datentransfer erfolgreich  -", "",
                           QString::fromUtf8("Die Geräteparameter wurden als Vorgabeparameter "
                                             "übernommen."),
                           QString::fromUtf8("(Rundungsfehler bei Skalierung möglich)")}));
    EXPECT_EQ(form2().findChild<QPlainTextEdit*>("Info")->palette().color(QPalette::Base),
              QColor(0, 255, 0));
    EXPECT_TRUE(Shown("nochmalbutton") && Shown("Fertigbutton"));
    EXPECT_EQ(BeepCount() - beeps, 2);  // one per evaluation
    const std::pair<const char*, const char*> fields[] = {
        {"Skalin1", "0"}, {"Skalin2", "20"}, {"Skalout1", "-100"}, {"Skalout2", "1899"}};
    for (const auto& [name, value] : fields)
        EXPECT_EQ(text(name).trimmed(), QString(value)) << name;
    EXPECT_EQ(program->model.DecimalPoint, 1);
    EXPECT_EQ(station->storedImage(), LegacyImage());
    EXPECT_EQ(station->imagesStored(), 1);
    EXPECT_EQ(Lines("Memo3"), QStringList({"## 0", "nowtask: nowtask", "no", "66", "## 0",
                                           "nowtask: anders", "ok", "130"}));
    const QStringList memo2 = Lines("Memo2");
    EXPECT_EQ(memo2.size(), 3 * 33);
    EXPECT_EQ(memo2.count(" ---"), 3);

    // Activation is no evaluation: no beep, no further listing.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form2(), &activate);
    Pass(milliseconds(200));
    EXPECT_EQ(Lines("Memo2").size(), memo2.size());
    EXPECT_EQ(BeepCount() - beeps, 2);
    form2().findChild<QPushButton*>("Fertigbutton")->click();
    EXPECT_FALSE(form2().isVisible());
    EXPECT_TRUE(errors.messages.isEmpty()) << errors.messages.join('\n').toStdString();
}

// The meter restarts with the written image: off at once, on again 750 ms later. Closing
// the window in between (close box or "fertig") hands the lines back as the main window's
// switches say, so the meter is not left unpowered with the signal on.
TEST_F(LegacyWindowTest, ClosingDuringTheRestartHandsTheLinesBack) {
    const std::pair<const char*, std::function<void(TForm2&)>> closings[] = {
        {"close box", [](TForm2& window) { window.close(); }},
        {"fertig",
         [](TForm2& window) { window.findChild<QPushButton*>("Fertigbutton")->click(); }}};
    AddMeter(LegacyImage());
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return mainCheckBox("switchsignal")->isEnabled(); }));
    mainCheckBox("switchsignal")->click();  // the signal switch off
    ASSERT_TRUE(
        WaitFor([&] { return mainCheckBox("switchpower")->isEnabled() && !station->rts(); }));
    for (const auto& [how, close] : closings) {
        SCOPED_TRACE(how);
        RunReadTask();
        ASSERT_TRUE(form2().sequencer().resettimer().enabled());
        EXPECT_FALSE(station->dtr());
        EXPECT_TRUE(station->rts());
        close(form2());
        ASSERT_FALSE(form2().isVisible());
        Pass(milliseconds(1000));
        EXPECT_TRUE(station->dtr());
        EXPECT_FALSE(station->rts());
        EXPECT_FALSE(program->controller().powerontimer().enabled());
    }
}

// "fertig" after the restart hands the lines back once, as the session holds them: the main
// window's switches are not locked again and an unset line stays unset.
TEST_F(LegacyWindowTest, DoneHandsTheLinesBackOnceWithoutLockingTheSwitches) {
    AddMeter(LegacyImage());
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return mainCheckBox("switchsignal")->isEnabled(); }));
    RunReadTask();
    ASSERT_TRUE(WaitFor([&] { return !form2().sequencer().resettimer().enabled(); }));
    ASSERT_TRUE(WaitFor([&] {
        return mainCheckBox("switchpower")->isEnabled() &&
               mainCheckBox("switchsignal")->isEnabled();
    }));
    program->session.SignalOn = false;  // as the session holds it, not as the switch shows
    form2().findChild<QPushButton*>("Fertigbutton")->click();
    ASSERT_FALSE(form2().isVisible());
    EXPECT_TRUE(mainCheckBox("switchpower")->isEnabled());
    EXPECT_TRUE(mainCheckBox("switchsignal")->isEnabled());
    EXPECT_FALSE(program->controller().Timer2().enabled());
    EXPECT_FALSE(program->session.SignalOn);
    EXPECT_TRUE(station->dtr());
    EXPECT_FALSE(station->rts());
}

// The two windows take the operator's reading under different masks: a sign only in the
// first position in the legacy window, anywhere but the last in the operation window.
TEST_F(LegacyWindowTest, TheReadingEntriesHaveTheirWindowsMasks) {
    StartProgram();
    const std::pair<QWidget*, const char*> windows[] = {{&form2(), "-12"},
                                                        {&program->ProgramForm(), "-1-2"}};
    for (const auto& [window, shown] : windows) {
        auto* entry = window->findChild<QLineEdit*>("Anzeige");
        entry->clear();
        QTest::keyClicks(entry, "-1-2");
        EXPECT_EQ(entry->text(), QString::fromLatin1(shown)) << window->objectName().toStdString();
    }
}

TEST_F(LegacyWindowTest, AReadWithOneExtraByteFailsItsExactCountCheck) {
    AddMeter(LegacyImage())->setFault(sim::Fault::extraByte());
    StartProgram();
    RunReadTask();
    EXPECT_EQ(Lines("Info"), QStringList({"Lese Daten von COM1", "Interface... O.K.",
                                          QString::fromUtf8("Übertragungsstrecke... O.K."),
                                          "Fehler Empfang !!!"}));
    EXPECT_EQ(form2().findChild<QPlainTextEdit*>("Info")->palette().color(QPalette::Base),
              QColor(Qt::red));
    EXPECT_TRUE(Shown("nochmalbutton") && Shown("Fertigbutton"));
    EXPECT_FALSE(Happens([&] { return program->ZMTCom().isVisible(); }));  // no write-back
    EXPECT_EQ(station->imagesStored(), 0);
    EXPECT_EQ(text("Skalout2").trimmed(), "2000");  // nothing taken over
}

}  // namespace
}  // namespace zmt::e2e

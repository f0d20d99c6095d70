#pragma once
// The whole program against the simulated interface and meter: real windows, real timers,
// the real port component, on a virtual clock that runs as fast as the program's events
// allow (or, for the few runs that keep the machine's clock covered, in real time). A
// settings file of the worked example (20 mA, 0 -> 0, 20 -> 2000, contact 2000/2000, "+",
// "gwnorm", decimal point code 0) skips the first start; com1..com4 in the working
// directory lead to pseudo-terminals.

#include "MainWindowFixture.h"
#include "VirtualBench.h"
#include "WorkedExampleImage.h"
#include "app/ZMT6v01.h"
#include "device/ZMTU1.h"
#include "device/ZMTUnit1.h"
#include "editor/PortController.h"
#include "link/ZMTCOMU1.h"
#include "sim/SimulatedBench.h"
#include "sim/SimulatedPort.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

namespace zmt::e2e {

using std::chrono::milliseconds;

using test::WorkedExampleImage;

enum class Timing { Virtual, Real };

class OperationTest : public ::testing::Test {
  protected:
    // Long enough for any operation on a loaded machine, in real time; never what a test
    // checks.
    static constexpr int kRealTimeLimitMs = 90000;

    explicit OperationTest(Timing timing = Timing::Virtual)
        : timing_(timing),
          bench(timing == Timing::Virtual ? sim.bench : std::make_shared<sim::SimulatedBench>()) {}

    // Runs the program until `done` holds: on the virtual clock as far as its events go, in
    // real time up to a generous limit.
    bool WaitFor(const std::function<bool()>& done) {
        if (timing_ == Timing::Virtual) return sim.time.runUntil(done);
        return QTest::qWaitFor(done, kRealTimeLimitMs);
    }
    // Lets the program run for `span` with whatever falls due in it.
    void Pass(milliseconds span) {
        if (timing_ == Timing::Virtual)
            sim.time.runFor(span);
        else
            QTest::qWait(static_cast<int>(span.count()));
    }
    // Whether `happens` becomes true while the program runs out of things to do (within a
    // minute of program time).
    bool Happens(const std::function<bool()>& happens) {
        if (timing_ == Timing::Virtual) return sim.time.runUntil(happens, std::chrono::minutes(1));
        return QTest::qWaitFor(happens, 5000);
    }

    void StartProgram(int language = 0) {
        StartProgramWith(language, sim::SimulatedDeviceFactory(bench));
    }
    // An empty factory: the ports are the terminals that com1..com4 lead to.
    void StartProgramWith(int language, link::PlatformDeviceFactory factory) {
        test::WriteSettings("initdig.txt", {{3, "0"}, {15, "+"}, {16, QString::number(language)}});
        StartProgramWithSettings(std::move(factory));
    }
    // The settings file is the test's own.
    void StartProgramWithSettings(link::PlatformDeviceFactory factory) {
        ProgramOptions options{std::move(factory), &dialogs};
        if (timing_ == Timing::Virtual) {
            options.clock = &sim.time.clock;
            // The series window's own port is the one whose bytes must reach the wire.
            options.seriesPortInUse = [this](link::TSpComPort* port) { sim.watchPort(*port); };
        }
        program = std::make_unique<ZMT6v01>(std::move(options));
        sim.watchPort(program->RS232());
        program->Show();
        // The main window's activation drives the lines and locks the power switch.
        ASSERT_TRUE(WaitFor([&] { return !program->controller().switchpower().enabled; }));
    }
    void TearDown() override {
        if (!program) return;
        program->Form1().close();
        QCoreApplication::processEvents();
        sim.forgetPort();
        program.reset();
    }

    // Clicks a button (or a menu item) of the main window and runs `scenario` inside the
    // modal operation window that it opens; the window is closed afterwards in any case.
    void RunOperation(const char* button, const std::function<void()>& scenario) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            if (QTest::qWaitFor([&] { return ops().isVisible(); }, 5000)) scenario();
            CloseOperationWindow();
            ran = true;
        });
        if (auto* item = program->Form1().findChild<QAction*>(button))
            item->trigger();
        else
            program->Form1().findChild<QPushButton*>(button)->click();
        EXPECT_TRUE(ran);
    }
    void CloseOperationWindow() {
        if (!ops().isVisible()) return;
        ops().close();  // waits for a running exchange
        EXPECT_TRUE(WaitFor([&] { return !ops().isVisible(); }));
    }

    // The operation window.
    TProgramForm& ops() { return program->ProgramForm(); }
    template <class Widget = QWidget>
    Widget* control(const char* name) {
        return ops().findChild<Widget*>(name);
    }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    bool shown(const char* name) { return control(name)->isVisibleTo(&ops()); }
    QStringList InfoLines() { return control<QPlainTextEdit>("Info")->toPlainText().split('\n'); }
    QColor InfoColour() { return control<QPlainTextEdit>("Info")->palette().color(QPalette::Base); }
    QStringList ShownButtons() {
        QStringList names;
        for (const char* name :
             {"weiterbutton", "Abbruchbutton", "OKButton", "nochmalbutton", "Fertigbutton"})
            if (shown(name)) names << name;
        return names;
    }
    // Until the operation has finished or failed: "nochmal" is offered then.
    bool WaitUntilSettled() {
        return WaitFor(
            [&] { return shown("nochmalbutton") && !ops().sequencer().AwaitingTransfer(); });
    }
    // Until the power cycle after an exchange has run.
    bool WaitForPowerCycle() {
        OperationSequencer& steps = ops().sequencer();
        return WaitFor(
            [&] { return !steps.waittimer().enabled() && !steps.resettimer().enabled(); });
    }

    // The main window.
    QLineEdit* field(const char* name) { return program->Form1().findChild<QLineEdit*>(name); }
    QString text(const char* name) { return field(name)->text(); }
    // The editor as a read of the configured meter image leaves it ("[00,00]", -5,5 mA ->
    // -1000, 20 mA -> 1500, contact 1400/1500 inverted).
    void ExpectEditorHoldsTheConfiguredImage() {
        const std::pair<const char*, const char*> fields[] = {
            {"Skalin1", "-5,5"},  {"Skalin2", "20"},    {"Skalout1", "-1000"},
            {"Skalout2", "1500"}, {"RelaisOn", "1400"}, {"RelaisOff", "1500"}};
        for (const auto& [name, value] : fields)
            EXPECT_EQ(text(name).trimmed(), QString(value)) << name;
        EXPECT_EQ(program->model.DecimalPoint, 2);
        EXPECT_EQ(program->model.polaritaet, "+ / -");
        EXPECT_EQ(program->model.LimitMode, "gwinv");
    }
    QCheckBox* mainCheckBox(const char* name) {
        return program->Form1().findChild<QCheckBox*>(name);
    }

    // The meter.
    std::shared_ptr<sim::SimulatedStation> AddMeter(sim::ImageWords stored = WorkedExampleImage()) {
        station = bench->addStation(1, {}, stored);
        return station;
    }
    // What the meter displays once it is running, as a number.
    std::optional<std::int64_t> Displayed() {
        if (!WaitFor([&] { return station->displayed().has_value(); })) return {};
        return station->displayed()->value;
    }

    Timing timing_;
    test::WorkingDirectory workDir;
    test::ScriptedDialogs dialogs;
    test::ErrorCapture errors;
    test::VirtualBench sim;
    std::shared_ptr<sim::SimulatedBench> bench;
    std::shared_ptr<sim::SimulatedStation> station;
    std::unique_ptr<ZMT6v01> program;
};

}  // namespace zmt::e2e

#pragma once
// The whole program under faults a user meets before any developer does: a full disk, a
// settings file that is no file, a port that vanishes, a port held by another instance,
// a meter that answers garbage. Each test runs in a temporary working directory whose
// com1..com4 lead to pseudo-terminals or to the simulator, never to the machine's ports.

#include "FileSizeLimit.h"
#include "MainWindowFixture.h"
#include "VirtualBench.h"
#include "app/ZMT6v01.h"

#include <QFile>

#include <sys/resource.h>
#include <time.h>

#include <csignal>
#include <memory>

namespace zmt::faults {

// The heading the main window shows above the reason when initdig.txt cannot be used.
inline const QString kBadSettingsHeading =
    QString::fromUtf8(" Einstellungsdatei initdig.txt fehlerhaft, sie wird beim Beenden ersetzt:");

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One program in the test's working directory. Its ports lead to the recorded bench unless
// the test passes another device factory (an empty one: the POSIX terminal backend). It
// runs on the machine's clock unless the test asks for virtual time (for the simulated
// interfaces and meters of `sim`).
class ProgramFixture : public ::testing::Test {
  protected:
    using Factory = link::PlatformDeviceFactory;

    void TearDown() override {
        if (program && program->Form1().isVisible()) Exit();
        sim.forgetPort();
        program.reset();
    }

    std::unique_ptr<ZMT6v01> MakeProgram(Factory factory) {
        ProgramOptions options{std::move(factory), &dialogs};
        if (virtualTime_) options.clock = &sim.time.clock;
        auto made = std::make_unique<ZMT6v01>(std::move(options));
        if (virtualTime_) sim.watchPort(made->RS232());
        return made;
    }
    void Start(Factory factory) { program = MakeProgram(std::move(factory)); }
    void Start() { Start(test::BenchFactory(bench)); }
    void UseVirtualTime() { virtualTime_ = true; }
    // Runs the program until `done`: on virtual time as far as its events go, else up to
    // `realLimitMs` of real time.
    bool WaitFor(const std::function<bool()>& done, int realLimitMs = 30000) {
        return virtualTime_ ? sim.time.runUntil(done) : QTest::qWaitFor(done, realLimitMs);
    }
    // Shows the main window and waits until its activation has opened the port.
    void ShowAndOpen() {
        program->Show();
        ASSERT_TRUE(WaitFor([&] { return program->RS232().IsOpen(); }, 5000));
    }
    TForm1& form() { return program->Form1(); }
    void Exit() {
        form().close();
        QCoreApplication::processEvents();
    }
    template <class T = QObject>
    T* control(const char* name) {
        T* found = form().findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    test::WorkingDirectory workDir;
    test::VirtualBench sim;
    bool virtualTime_ = false;
    std::shared_ptr<test::SerialBench> bench = std::make_shared<test::SerialBench>();
    test::ScriptedDialogs dialogs;
    test::ErrorCapture errors;
    std::unique_ptr<ZMT6v01> program;
};

}  // namespace zmt::faults

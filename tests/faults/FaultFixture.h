#pragma once
// The whole program under faults a user meets before any developer does: a full disk, a
// settings file that is no file, a port that vanishes, a port held by another instance,
// a meter that answers garbage. Each test runs in a temporary working directory whose
// com1..com4 lead to pseudo-terminals or to the simulator, never to the machine's ports.

#include "FileSizeLimit.h"
#include "MainWindowFixture.h"
#include "ZMT6v01.h"

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

// CPU time the whole process used so far, all threads, in seconds.
inline double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One program in the test's working directory. Its ports lead to the recorded bench unless
// the test passes another device factory (an empty one: the POSIX terminal backend).
class ProgramFixture : public ::testing::Test {
  protected:
    using Factory = link::PlatformDeviceFactory;

    void TearDown() override {
        if (program && program->Form1().isVisible()) Exit();
        program.reset();
    }

    std::unique_ptr<ZMT6v01> MakeProgram(Factory factory) {
        return std::make_unique<ZMT6v01>(ProgramOptions{std::move(factory), &dialogs});
    }
    void Start(Factory factory) { program = MakeProgram(std::move(factory)); }
    void Start() { Start(test::BenchFactory(bench)); }
    // Shows the main window and waits until its activation has opened the port.
    void ShowAndOpen() {
        program->Show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return program->RS232().IsOpen(); }, 5000));
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
    std::shared_ptr<test::SerialBench> bench = std::make_shared<test::SerialBench>();
    test::ScriptedDialogs dialogs;
    test::ErrorCapture errors;
    std::unique_ptr<ZMT6v01> program;
};

}  // namespace zmt::faults

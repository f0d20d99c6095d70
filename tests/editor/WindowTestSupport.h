#pragma once

#include "QtPrinters.h"
// Shared by the window and program tests: a recorded serial bench behind the real port
// component, scripted file dialogs, a captured error display, a temporary working
// directory whose com1..com4 lead to pseudo-terminals, and typing helpers.

#include "common/ErrorDisplay.h"
#include "editor/FileDialogs.h"
#include "editor/PortAssignDialogs.h"
#include "link/interface/PlatformDevice.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>
#include <array>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zmt::test {

// What the ports of the machine look like, and what happened on their lines. Index 1..4.
struct SerialBench {
    enum class Kind { Present, Absent, PermissionDenied };

    std::mutex mutex;
    std::array<Kind, 5> kind{Kind::Absent, Kind::Present, Kind::Present, Kind::Present,
                             Kind::Present};
    std::array<bool, 5> open{};
    std::array<bool, 5> dtr{};  // the meter's power
    std::array<bool, 5> rts{};  // the calibration signal
    std::array<int, 5> opens{};

    bool isOpen(int n) {
        std::lock_guard lock(mutex);
        return open[n];
    }
    bool power(int n) {
        std::lock_guard lock(mutex);
        return dtr[n];
    }
    bool signal(int n) {
        std::lock_guard lock(mutex);
        return rts[n];
    }
    int openCount(int n) {
        std::lock_guard lock(mutex);
        return opens[n];
    }
};

// One port of the bench as the port core sees it: lines are recorded, nothing is received.
class BenchDevice : public link::PlatformDevice {
  public:
    explicit BenchDevice(std::shared_ptr<SerialBench> bench) : bench_(std::move(bench)) {}

    link::OpenResult open(int number) override {
        std::lock_guard lock(bench_->mutex);
        if (number < 1 || number > 4 || bench_->kind[number] == SerialBench::Kind::Absent)
            return {link::OpenFailure::NoSuchDevice, 2, {}};
        if (bench_->kind[number] == SerialBench::Kind::PermissionDenied)
            return {link::OpenFailure::PermissionDenied, 13, {}};
        if (bench_->open[number]) return {link::OpenFailure::Busy, 16, {}};
        bench_->open[number] = true;
        ++bench_->opens[number];
        number_ = number;
        return {};
    }
    bool isOpen() const override { return number_ != 0; }
    bool setTimeouts() override { return true; }
    bool setQueueSizes(int, int) override { return true; }
    bool setEventMask(std::uint32_t) override {
        wake(true);
        return true;
    }
    bool setCommState(const link::CommState& state) override {
        state_ = state;
        return true;
    }
    bool getCommState(link::CommState& state) override {
        state = state_;
        return true;
    }
    bool lineFunction(link::LineFunction function) override {
        std::lock_guard lock(bench_->mutex);
        if (function == link::LineFunction::SetDtr) bench_->dtr[number_] = true;
        if (function == link::LineFunction::ClrDtr) bench_->dtr[number_] = false;
        if (function == link::LineFunction::SetRts) bench_->rts[number_] = true;
        if (function == link::LineFunction::ClrRts) bench_->rts[number_] = false;
        return true;
    }
    bool status(link::CommStatus& status) override {
        status = {};
        return true;
    }
    int read(std::uint8_t*, int) override { return 0; }
    int write(const std::uint8_t*, int count) override { return count; }
    bool purge(std::uint32_t) override { return true; }
    link::WaitResult waitEvent(int timeoutMs, std::uint32_t& mask) override {
        std::unique_lock lock(waitMutex_);
        woken_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [this] { return cancelled_ || maskChanged_; });
        mask = 0;
        if (maskChanged_) {
            maskChanged_ = false;
            return link::WaitResult::Event;
        }
        const bool cancelled = cancelled_;
        cancelled_ = false;
        return cancelled ? link::WaitResult::Cancelled : link::WaitResult::TimedOut;
    }
    void cancelWait() override { wake(false); }
    void close() override {
        std::lock_guard lock(bench_->mutex);
        if (number_ == 0) return;
        // A closed port drops its lines, and with them the meter's power.
        bench_->open[number_] = bench_->dtr[number_] = bench_->rts[number_] = false;
        number_ = 0;
    }

  private:
    void wake(bool maskChange) {
        std::lock_guard lock(waitMutex_);
        (maskChange ? maskChanged_ : cancelled_) = true;
        woken_.notify_all();
    }

    std::shared_ptr<SerialBench> bench_;
    int number_ = 0;
    link::CommState state_;
    std::mutex waitMutex_;
    std::condition_variable woken_;
    bool cancelled_ = false;
    bool maskChanged_ = false;
};

inline link::PlatformDeviceFactory BenchFactory(std::shared_ptr<SerialBench> bench) {
    return [bench] { return std::make_unique<BenchDevice>(bench); };
}

// File dialogs that answer from a script and remember what they were asked.
class ScriptedDialogs : public FileDialogs {
  public:
    QString saveName, openName;
    Answer overwriteAnswer = Answer::Yes;
    QStringList questions;
    QString lastSaveInitial, lastOpenInitial;

    QString askSaveName(QWidget*, const QString& initialName) override {
        lastSaveInitial = initialName;
        return saveName;
    }
    QString askOpenName(QWidget*, const QString& initialName) override {
        lastOpenInitial = initialName;
        return openName;
    }
    Answer askOverwrite(QWidget*, const QString& question) override {
        questions << question;
        return overwriteAnswer;
    }
    bool yesNoAnswer = true;
    bool askYesNo(QWidget*, const QString& question) override {
        questions << question;
        return yesNoAnswer;
    }

    // The sheet's questions: a PDF name, and the print dialog answered with "print to file".
    QString pdfName, printToFile;
    QString lastPdfInitial;
    int printDialogs = 0;

    QString askPdfName(QWidget*, const QString& initialName) override {
        lastPdfInitial = initialName;
        return pdfName;
    }
    bool askPrinter(QWidget*, QPrinter& printer) override {
        ++printDialogs;
        if (printToFile.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToFile);
        return true;
    }

    // The folder question (the series' sheets).
    QString folderName;
    QString askFolder(QWidget*, const QString&) override { return folderName; }
};

// The port assignment's questions answered from a script (No once it runs out), and
// everything it asked and said.
class ScriptedPortDialogs : public PortAssignDialogs {
  public:
    std::deque<bool> answers;
    QStringList questions, messages;

    bool confirm(QWidget*, const QString& question) override {
        questions << question;
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void inform(QWidget*, const QString& message) override { messages << message; }
};

// Records what the error display would show, for one test.
class ErrorCapture {
  public:
    ErrorCapture() : previous_(SetErrorDisplayHook([this](const QString& m) { messages << m; })) {}
    ~ErrorCapture() { SetErrorDisplayHook(std::move(previous_)); }
    QStringList messages;

  private:
    ErrorDisplayHook previous_;
};

// A temporary working directory for one test: initdig.txt and the com links live there.
// com1..com4 lead to pseudo-terminals, so that nothing reaches the machine's own ports.
class WorkingDirectory {
  public:
    WorkingDirectory() : previous_(QDir::currentPath()) {
        EXPECT_TRUE(dir_.isValid());
        QDir::setCurrent(dir_.path());
        for (int n = 1; n <= 4; ++n) linkPseudoTerminal(n);
    }
    ~WorkingDirectory() {
        QDir::setCurrent(previous_);
        for (int fd : masters_) ::close(fd);
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

  private:
    void linkPseudoTerminal(int n) {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        masters_.push_back(master);
        const std::string link = "com" + std::to_string(n);
        ASSERT_EQ(::symlink(::ptsname(master), link.c_str()), 0);
    }

    QTemporaryDir dir_;
    QString previous_;
    std::vector<int> masters_;
};

// Types into a field as a user would: enter it, replace its text, leave it with Tab.
inline void TypeInto(QLineEdit* field, const QString& text) {
    field->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    field->selectAll();
    QTest::keyClicks(field, text);
}
inline void LeaveWithTab(QWidget* field) {
    QTest::keyClick(field, Qt::Key_Tab);
}

// Runs `action` on the first modal window that shows up (a modal loop blocks the test).
inline void WhenModalShows(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        poll->stop();
        poll->deleteLater();
        action(modal);
    });
    poll->start(20);
}

}  // namespace zmt::test

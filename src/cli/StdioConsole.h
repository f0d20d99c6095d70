#pragma once

#include "cli/Console.h"

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

namespace zmt::cli {

// The console of a real run: standard output and error, the progress line in place on a
// terminal's standard error, standard input read as the event loop sees it arrive, and
// Ctrl-C, SIGTERM and SIGHUP counted through a pipe that the signal handler writes to.
class StdioConsole : public QObject, public Console {
    Q_OBJECT
  public:
    explicit StdioConsole(bool quiet);
    ~StdioConsole() override;

    void Print(const QString& line) override;
    void Warn(const QString& line) override;
    void Status(const QString& line) override;
    std::optional<QString> NextLine() override;
    bool InputEnded() const override { return inputEnded_; }
    bool InputIsTerminal() const override { return inputIsTerminal_; }
    int Interrupts() const override { return interrupts_; }

  private:
    void ClearStatus();
    void ReadInput();
    void TakeInterrupt();
    // A line of input as text.
    static QString InputText(const QByteArray& bytes);

    bool statusShown_ = false;
    bool statusAllowed_;
    bool inputIsTerminal_;
    bool inputEnded_ = false;
    QByteArray pending_;
    int interrupts_ = 0;
    QSocketNotifier* input_ = nullptr;
    QSocketNotifier* interrupt_ = nullptr;
};

}  // namespace zmt::cli

#pragma once

#include <QString>

#include <optional>

namespace zmt::cli {

// Where the tool speaks and listens: standard output and error, a progress line that a
// terminal updates in place, the operator's lines on standard input, and Ctrl-C.
class Console {
  public:
    virtual ~Console() = default;
    // A line of the result, on standard output.
    virtual void Print(const QString& line) = 0;
    // A message beside the result, on standard error.
    virtual void Warn(const QString& line) = 0;
    // The progress line: shown in place on a terminal, nowhere else.
    virtual void Status(const QString& line) = 0;
    // The next whole line typed or piped in, once there is one.
    virtual std::optional<QString> NextLine() = 0;
    virtual bool InputEnded() const = 0;
    // Standard input is a terminal: a refused reading can be typed again.
    virtual bool InputIsTerminal() const = 0;
    // How often Ctrl-C was pressed.
    virtual int Interrupts() const = 0;
};

}  // namespace zmt::cli

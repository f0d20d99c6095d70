#pragma once

#include "cli/Console.h"

#include <QString>

namespace zmt::cli {

// A text from outside (a file's line, a file name, a journal field, an operator's name) as a
// terminal may show it: nothing in it can move the cursor, recolour, retitle or reset the
// terminal. Each control character is written out instead: C0 as `\x1b` (`\t`, `\n`, `\r`
// by their names), U+007F and the C1 controls as `\u009b`, which inside a JSON string is the
// same character, so a JSON line passes unchanged in meaning. A byte of a file name that was
// no UTF-8 (kept as U+DC80..U+DCFF) shows as `\xff`, any other lone surrogate as `\ud800`.
QString TerminalText(const QString& text);

// Several of the tool's lines in one text: the line feeds between them stay, every line is
// shown as TerminalText shows it.
QString TerminalLines(const QString& text);

// The console as the terminal gets it: whatever the tool prints, warns or shows as progress
// passes through TerminalLines first. JSON lines keep their meaning (their encoder already
// escapes the C0 controls).
class TerminalConsole : public Console {
  public:
    explicit TerminalConsole(Console& terminal) : terminal_(terminal) {}

    void Print(const QString& line) override { terminal_.Print(TerminalLines(line)); }
    void Warn(const QString& line) override { terminal_.Warn(TerminalLines(line)); }
    void Status(const QString& line) override { terminal_.Status(TerminalText(line)); }
    std::optional<QString> NextLine() override { return terminal_.NextLine(); }
    bool InputEnded() const override { return terminal_.InputEnded(); }
    bool InputIsTerminal() const override { return terminal_.InputIsTerminal(); }
    int Interrupts() const override { return terminal_.Interrupts(); }

  private:
    Console& terminal_;
};

}  // namespace zmt::cli

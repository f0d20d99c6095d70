#pragma once

#include "editor/ConfigModel.h"

#include <QString>

namespace zmt {

class LanguageText;

// What keeps a configuration from being written to the meter. Writing it anyway would
// store words computed from stale or missing values, and the meter would show nonsense.
enum class WriteProblem {
    None,
    NotANumber,       // a scaling input or display text is no number
    NotAWholeNumber,  // a display or limit text is a number but not an integer
    NoDeviceType,     // no full scale to compute the span word from
    MathError,        // the coefficients cannot be computed (equal inputs, overflow)
};

struct WriteCheck {
    WriteProblem problem = WriteProblem::None;
    Field field = Field::Skalin1;  // the entry, for NotANumber and NotAWholeNumber
    QString text;                  // its text as it stands

    bool ok() const { return problem == WriteProblem::None; }
};

// Whether ConfigToImage would compute every word from current values: all scaling texts
// numbers, the displays and limits integers, a device type chosen, and coefficients that
// can be computed and equal the ones the editor holds (not left stale by a failed
// evaluation).
WriteCheck CheckWritableConfiguration(const ConfigModel& model);

// The line that names the problem, in the given language.
QString WriteProblemLine(const WriteCheck& check, const LanguageText& texts, int languageIndex);

}  // namespace zmt

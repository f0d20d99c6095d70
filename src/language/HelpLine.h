#pragma once

#include "language/LanguageText.h"

#include <QString>

#include <optional>

namespace zmt {

// The two events of a main-window control that may change the context help line.
enum class HelpEvent { MouseMove, FocusEntry };

// What a control shows in the help line for one event.
enum class HelpBinding {
    Row,          // a fixed row of the text table
    Clear,        // empties the line (background and passive areas)
    ByPolarity,   // row 70 or 71 after the caption of `polaritaet`
    ByLimitMode,  // row 72, 73 or 74 after `LimitMode`
};

struct HelpLineEntry {
    HelpEvent event;
    const char* control;  // object name of the main-window control
    HelpBinding binding;
    int row;  // only for HelpBinding::Row
};

// Every binding of the help line; a control and event not listed leaves the line as it was.
const HelpLineEntry* FindHelpLineEntry(HelpEvent event, const QString& controlName);

// The text the help line takes when `event` reaches the control `controlName`, or nullopt
// when the line keeps its text (no binding, or a state the state-dependent entries do not
// know). The state is read now, so a click that changed it shows at the next movement.
std::optional<QString> HelpLineText(HelpEvent event, const QString& controlName,
                                    const QString& polarityCaption, const QString& limitMode,
                                    const LanguageText& texts, int languageIndex);

}  // namespace zmt

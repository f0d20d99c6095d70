#pragma once

// Rows of the program's original language table that more than one part of the program
// shows in their own meaning, named for what they hold.

namespace zmt::rows {

enum Original : int {
    NoPoint = 23,
    Hint = 43,
    TypeIsOnlyAnAid = 44,
    MathError = 46,
    BelowMinus1999 = 47,
    OutOfRange = 48,
    InputsMustDiffer = 49,
    InputError = 50,
    ConfigurationSaved = 64,
    LimitHeading = 75,
    OnAtOrBelow = 76,
    OffAtOrAbove = 77,
    OnAtOrAbove = 78,
    OffAtOrBelow = 79,
    CannotOpenPort = 82,
    PerhapsInUse = 83,
    ReadDisplayedValue = 134,
    NotUsed = 135,
};

}  // namespace zmt::rows

#pragma once

// Rows of the language table that came after the program's original 151 rows, named for
// what they hold. Every new text of the program gets its row here, German and English in
// LanguageText.cpp; the original rows are never reused, not even the empty ones.

namespace zmt::rows {

enum Added : int {
    FirstAdded = 151,

    // Names of the configuration's entries in messages about them.
    EntryInput1 = FirstAdded,
    EntryDisplay1,
    EntryInput2,
    EntryDisplay2,
    EntryLimitOn,
    EntryLimitOff,
    // A configuration that cannot be written: what is wrong with it.
    EntryNotANumber,       // %1 entry name, %2 its text
    EntryNotAWholeNumber,  // %1 entry name, %2 its text
    NoDeviceTypeChosen,

    // Comparing the meter with the configuration: the operation, the result, and the
    // names of what can differ.
    CompareMenuItem,
    AskCompare,
    TaskCompare,
    MeterMatches,
    MeterDiffers,
    DifferenceLine,  // %1 what, %2 the file's value, %3 the meter's value
    ItemDecimalPoint,
    ItemPolarity,
    ItemLimitMode,
    ItemDisplayAtZero,
    ItemDisplayAtFullScale,
    ItemThresholdOn,
    ItemThresholdOff,
    ItemMark,
    WrittenByThisProgram,
    NotWrittenByThisProgram,

    // A port the user may not open.
    PortPermissionDenied,

    // The command-line tool's report of a configuration and of what it does.
    ItemDeviceType,
    ItemSlope,
    ItemSpanPer2000,
    TestLine,  // %1 the test input with its unit, %2 the display, %3 the contact
    ContactClosed,
    ContactOpen,
    ContactNotUsed,
    FinishingTheWrite,
    StoppedByInterrupt,
    InputEndedBeforeReading,

    AddedEnd
};

}  // namespace zmt::rows

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

    // The configuration sheet: the two items of the file menu and what they report.
    MenuPrintSheet,
    MenuSaveSheetPdf,
    SheetSaved,     // %1 the file
    SheetNotSaved,  // %1 the file and why
    SheetPrinted,
    SheetNotPrinted,
    // The sheet's title, header and section headings.
    SheetTitle,  // %1 the device type
    SheetDate,
    SheetFile,
    SheetFileNotSaved,
    SheetPort,
    SheetConfiguration,
    SheetDisplays,
    SheetContact,
    SheetMessages,
    SheetCalibration,
    SheetWords,
    // The configuration as the user sees it.
    SheetDeviceType,
    SheetDeviceTypeValue,  // %1 device type, %2 unit, %3 full scale
    SheetDecimalPoint,
    SheetPolarity,
    SheetPolaritySigned,
    SheetPolarityPositiveOnly,
    SheetLimitMode,
    SheetModeAbove,
    SheetModeBelow,
    SheetTestInput,
    // What follows from it.
    SheetDisplayAtZero,
    SheetDisplayAtFullScale,  // %1 the full-scale input with its unit
    SheetColumnInput,
    SheetColumnDisplay,
    SheetColumnContact,
    SheetContactClosed,
    SheetContactOpen,
    SheetSwitchesAtInput,
    SheetOutsideRange,
    SheetNoMessages,
    SheetCannotWrite,
    // Calibration of this run and the image words.
    SheetOffsetReading,
    SheetGainReading,
    SheetOffsetWord,
    SheetGainWord,
    SheetNotTaken,
    SheetColumnWord,
    SheetColumnHex,
    SheetColumnDecimal,
    SheetWordFromMeter,
    SheetWordsNote,

    AddedEnd
};

}  // namespace zmt::rows

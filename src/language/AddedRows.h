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
    // Why the operator's reading is refused, the line after "Eingabefehler".
    ReadingOutOfRange,
    ReadingIsZero,
    GainFactorOutOfRange,
    // A serial port refused for want of permission.
    PortPermissionDenied,
    // A settings file that cannot be restored at start: heading (%1 the file) and reasons.
    BadSettingsFileHeading,
    SettingsTooFewLines,       // %1 lines found, %2 needed
    SettingsLineNotAnInteger,  // %1 line number, %2 its text
    SettingsLineNoDeviceType,  // %1 line number, %2 its text
    SettingsValueUnreadable,   // %1 the file, %2 the conversion message
    // Why a settings or configuration file cannot be read or written; %1 is the file.
    FileDoesNotExist,
    FileIsAFolder,
    FileIsNotRegular,
    FileTooLarge,
    FileCannotBeRead,     // %2 the system's reason
    FileCannotBeWritten,  // %2 the system's reason

    AddedEnd
};

}  // namespace zmt::rows

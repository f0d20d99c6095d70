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
    // A read image that no configuration of this program produces, and how its first such
    // value is named.
    NoValidConfiguration,
    DecimalPointCodeValue,  // %1 the code
    FlagBitsValue,          // %1 the flags word in hexadecimal
    ProgramMarkValue,       // %1 the mark word
    // The demo's virtual meter window: its captions and what it reports of the meter.
    MeterWindowTitle,
    MeterOnPort,  // %1 the COM number
    MeterContactClosed,
    MeterContactOpen,
    MeterContactNotUsed,
    MeterPortNotOpened,  // %1 the COM number, as in the four below
    MeterOff,
    MeterStarting,
    MeterRunning,
    MeterLinesGroup,
    MeterPowerLine,
    MeterSignalLine,
    MeterInputGroup,
    MeterTypeLabel,
    MeterInputLabel,
    MeterInputValue,         // %1 the input with its unit
    MeterCalibrationSignal,  // %1 the input with its unit
    MeterErrorGroup,
    MeterOffsetError,
    MeterGainError,
    MeterDigits,
    MeterCounters,  // %1 power-ups, %2 configurations stored

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
    ConfirmYesNo,

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

    // The port assignment window: which device each COM number opens.
    PortAssignMenuItem,
    PortAssignTitle,
    PortAssignHeading,
    PortStandardChoice,  // %1 the standard device
    PortBusyMark,
    PortNoDevices,
    PortDevicesListed,     // %1 how many
    PortTargetMissing,     // %1 path
    PortTargetNoHardware,  // %1 path
    PortTargetOwnFile,     // %1 path
    PortRefreshButton,
    PortFindButton,
    PortFindAssignAs,
    PortOkButton,
    PortCancelButton,
    PortStopSearchButton,
    // Applying the choice.
    PortBindNotALink,    // %1 the file comN
    PortBindDeviceGone,  // %1 the device
    PortBindFailed,      // %1 COM number, %2 the file comN, %3 the system's reason
    // The search for the interface.
    PortFindQuestion,
    PortFindWarning,
    PortFindSkipped,
    PortFindNothingFree,
    PortFindProgress,  // %1 device, %2 its place, %3 how many
    PortFindCancelled,
    PortFindNone,
    PortFindOffer,  // %1 device, %2 COM number
    ProbeFound,
    ProbeNoInterface,
    ProbeBusy,
    ProbeVanished,
    ProbeNoPermission,
    // Help lines of the port assignment window.
    HelpPortChoice,
    HelpPortTarget,
    HelpPortRefresh,
    HelpPortFind,
    HelpPortFindAs,
    HelpPortOk,
    HelpPortCancel,
    HelpPortStopSearch,
    // Why the operator's reading is refused, the line after "Eingabefehler".
    ReadingOutOfRange,
    ReadingIsZero,
    GainFactorOutOfRange,
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

    // Why a port did not open, the line after the two failure lines; %1 is the device.
    PortNotPresent,
    PortHeldBy,  // %2 the program, %3 its process number
    PortModemManagerAdvice,
    PortNotSerial,
    PortAdapterClaimedByBrltty,  // %1 the adapter
    PortNoHardwareBehind,        // %2 the USB adapter, %3 the port assignment's menu item

    // The journal of operations on the meter, its window and restoring a recorded state.
    AskRestore,  // %1 the record: its time and device
    TaskRestore,
    RestoreWriting,
    RestoreMeterDiffers,
    RestoreReadBackMatches,
    RestoreReadBackDiffers,  // %1 the number of differing words
    JournalNotWritable,      // %1 the journal file, %2 the reason
    JournalMenuItem,
    JournalWindowTitle,
    JournalFilterText,
    JournalFilterAll,
    JournalFilterSucceeded,
    JournalFilterFailed,
    JournalColumnTime,
    JournalColumnPort,
    JournalColumnOperation,
    JournalColumnFile,
    JournalColumnResult,
    JournalAsFound,
    JournalWritten,
    JournalReadBack,
    JournalOpenAsFound,
    JournalRestoreMeter,
    JournalNoValidAsFound,  // restore refused: the record holds no valid as-found image
    JournalNoAsFound,       // the record holds no as-found image at all
    JournalLineSkipped,     // %1 the journal, %2 the line number, %3 why
    JournalResultSucceeded,
    JournalResultFailed,
    JournalResultCancelled,
    JournalUnknownFields,
    JournalRecordNamed,      // %1 the record's id: the sheet names the write's record
    JournalNoRecord,         // %1 what was asked for
    JournalRestoreQuestion,  // %1 the record's time, %2 its device

    // Series programming: one configuration into meter after meter, its window and tool.
    SeriesMenuItem,
    SeriesWindowTitle,
    SeriesConfiguration,  // the label before the configuration's source
    SeriesSourceEditor,
    SeriesSourceFile,
    SeriesChooseFile,
    SeriesVerifyOption,
    SeriesSheetOption,
    SeriesChooseFolder,
    SeriesStart,
    SeriesStop,
    SeriesPassedCount,  // %1 the number
    SeriesFailedCount,  // %1 the number
    SeriesColumnNumber,
    SeriesColumnJournal,
    SeriesOk,
    SeriesWaitingForMeter,
    SeriesNoMeterAnswers,
    SeriesUnexpectedAnswer,  // %1 the bytes that came back
    SeriesWriting,           // %1 the unit's number
    SeriesVerifying,         // %1 the unit's number
    SeriesWaitingForRemoval,
    SeriesStopped,
    SeriesStopAfterWrite,
    SeriesCountReached,
    SeriesSummary,   // %1 units, %2 passed, %3 failed
    SeriesUnitLine,  // %1 number, %2 time, %3 result, %4 journal id
    SeriesNoSheetFolder,
    SeriesSheetNotSaved,  // %1 the sheet's message
    SeriesSourceSummary,  // %1 source, %2 device type, %3 scaling, %4 the contact
    SeriesHelpSource,
    SeriesHelpVerify,
    SeriesHelpSheets,
    SeriesHelpStart,
    SeriesHelpStop,
    SeriesHelpResult,
    SeriesHelpUnits,
    SeriesHelpMenuItem,

    // The demo's virtual meter: plugged into the interface or taken off it.
    MeterPluggedIn,

    // The journal's safety net: a write cut short, the restore's device rule.
    JournalResultInterrupted,
    RestoreCancelled,
    RestoreNoRecordOfDevice,     // %1 the device the port reaches
    RestoreOtherDevice,          // %1 the record's device, %2 the device the port reaches
    RestoreOtherDeviceQuestion,  // %1 the record's device, %2 the device the port reaches
    RestoreNeedsOtherDevice,
    RestoreAsksFirst,

    // The series from the command line: its sheet folder, its stopped units.
    SeriesSheetFolderIsAFile,
    SeriesSheetFolderNotMade,
    SeriesSummaryWithStopped,  // %1 units, %2 passed, %3 failed, %4 stopped

    // Bad input at the terminal: why the journal or one of its lines cannot be used.
    JournalFolderNotMade,  // %1 the folder
    JournalIsAFolder,
    JournalNotARegularFile,
    JournalLineWithoutEnd,
    JournalNotARecord,
    JournalIncompleteRecord,  // %1 the field it lacks

    // Keyboard and screen reader: menu items with an access key, the names a screen reader
    // gives the controls, and the series and journal windows as a bench technician reads them.
    MenuCompareKeyed,
    MenuPortAssignKeyed,
    MenuJournalKeyed,
    MenuSeriesKeyed,
    NameDecimalPointAfter,  // %1 the digit the point follows
    NameNoDecimalPoint,
    NameLimitMode,
    NameThresholdOn,
    NameThresholdOff,
    NamePolarity,
    NameScalingInput,    // %1 the point, 1 or 2
    NameScalingDisplay,  // %1 the point, 1 or 2
    NameTestInput,
    NameTestDisplay,
    NameContactState,
    NameStatusMessages,
    NameFileInfo,
    NamePortInfo,
    NameHelpLine,
    NameOperationMessages,
    NameSeriesFromFile,
    NameSheetFolder,
    NameSeriesUnits,
    NameJournalRecords,
    NameJournalImages,
    NamePortFindLog,
    NameMeterDisplay,
    NameLimitLed,
    NameInputSlider,
    NameSeriesStatus,
    MeterNotPluggedIn,   // %1 the COM number
    SeriesUnitStarting,  // %1 the unit's number: the result field while it is written
    SeriesUnitDone,      // %1 the unit's number
    SeriesNoFileChosen,
    SeriesAskStop,
    SeriesLimitUnused,
    JournalColumnId,
    JournalOperationRead,
    JournalOperationWrite,
    JournalOperationCalibrate,
    JournalOperationCompare,
    JournalOperationVerify,
    JournalOperationRestore,
    JournalOperationLegacyRead,
    JournalOperationSeriesUnit,
    JournalReadImage,
    JournalRestoreAsFound,
    JournalRawWords,
    JournalInterruptedNote,

    // The port doctor: every holder of a port, the device's access, a folder as port.
    PortHeldBySeveral,   // %1 the device, %2 the holders
    PortHolderListed,    // %1 the program, %2 its process number
    PortMoreHolders,     // %1 the holders named, %2 how many more
    PortNoPermissionOn,  // %1 the device, %2 owner, %3 group, %4 mode
    PortJoinGroup,       // %1 the group
    ProbeNotSerial,
    ProbeDenied,  // the cause lines that follow say who may open it

    AddedEnd
};

}  // namespace zmt::rows

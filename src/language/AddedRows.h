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

    AddedEnd
};

}  // namespace zmt::rows

#pragma once

// How the port assignment speaks of devices, COM targets, bindings and probe results, in
// the language of the moment.

#include "language/LanguageText.h"
#include "link/ComLinkBinding.h"
#include "link/ComTarget.h"
#include "link/InterfaceProbe.h"
#include "link/PortCatalog.h"
#include "link/PortFailureCause.h"

#include <QString>
#include <QStringList>

namespace zmt {

// What COMn reaches: "/dev/ttyUSB0: FT232R USB UART", "/dev/ttyS1 (no serial hardware)".
QString DescribeComTarget(const link::ComTarget& target, const LanguageText& texts,
                          int languageIndex);
// A device as a choice: its path, description and serial number (two adapters of one kind
// differ there), and whether another program holds it.
QString DescribeDevice(const link::PortEntry& entry, const LanguageText& texts, int languageIndex);
// Everything known of a device, one fact a line, for its tooltip.
QString DeviceDetails(const link::PortEntry& entry);
QString DescribeBindProblem(const link::BindProblem& problem, const LanguageText& texts,
                            int languageIndex);
QString DescribeProbeOutcome(link::ProbeOutcome outcome, const LanguageText& texts,
                             int languageIndex);

// The lines that say a port did not open: `name` with "  -error opening port-" and
// " (perhaps already in use)", then the cause where one is known. A name that is a device
// path (the user gave it) is told its cause instead of the guess.
QStringList PortFailureLines(const QString& name, const link::PortFailureCause& cause,
                             const LanguageText& texts, int languageIndex);
// Only the cause, without the two failure lines; empty when nothing is known.
QStringList PortCauseLines(const link::PortFailureCause& cause, const LanguageText& texts,
                           int languageIndex);

}  // namespace zmt

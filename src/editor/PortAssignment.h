#pragma once

#include "editor/ComNames.h"
#include "language/LanguageText.h"
#include "language/Texts.h"
#include "link/ComTarget.h"
#include "link/PortCatalog.h"
#include "link/PortSetup.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace zmt {

// The port assignment without a window: the machine's serial devices, what COM1..COM4
// reach now, the device chosen for each, and applying the choice. The window shows it and
// forwards the user's choices; texts come in the language of the moment.
class PortAssignment {
  public:
    // One entry of a COM number's choice.
    struct Choice {
        QString bindPath;  // what applying it links to; empty: the standard device
        QString text;
        QString details;  // the tooltip
        bool busy = false;
    };

    PortAssignment(link::PortSetup setup, const LanguageText& texts,
                   std::function<int()> languageIndex);

    // Lists the devices and shows what is bound, forgetting any choice made before.
    void start();
    // Lists the devices and reads the bindings again. A choice the user made stays while
    // it is still offered.
    void refresh();

    const std::vector<link::PortEntry>& devices() const { return devices_; }
    // "No serial devices found ..." or how many there are.
    QString devicesNote() const;
    const link::ComTarget& target(int number) const { return row(number).target; }
    QString targetText(int number) const;
    // The standard device first, then the listed devices; where COMn is bound to anything
    // else (a device not listed, a file of the user's own), that comes last.
    const std::vector<Choice>& choices(int number) const { return row(number).choices; }
    int chosen(int number) const { return row(number).chosen; }
    void choose(int number, int index);
    // Chooses `entry` for COMn; false when it is no longer offered.
    bool chooseDevice(int number, const link::PortEntry& entry);
    bool changed(int number) const { return row(number).chosen != row(number).current; }

    // Binds every COM number whose choice changed. On success returns true and the numbers
    // whose target changed in `retargeted`; on a refusal or failure nothing changes and
    // `problems` says why. Reads the bindings again either way.
    bool apply(std::vector<int>& retargeted, QStringList& problems);

    // The search: the devices the probe goes through (a busy one is only reported), and
    // the question that lists them with the warning about other devices on those ports;
    // empty when no device is free.
    QString findQuestion() const;

  private:
    struct Row {
        link::ComTarget target;
        std::vector<Choice> choices;
        int current = 0;  // the choice that is bound now
        int chosen = 0;
    };

    const Row& row(int number) const { return rows_.at(number - 1); }
    void rebuildRows();
    void rebuildRow(int number, const std::optional<QString>& previousChoice);
    int currentChoice(const Row& row) const;

    link::PortSetup setup_;
    const LanguageText& texts_;
    std::function<int()> languageIndex_;
    Texts text_{texts_, languageIndex_};
    std::vector<link::PortEntry> devices_;
    std::array<Row, ComPortCount> rows_{};
};

}  // namespace zmt

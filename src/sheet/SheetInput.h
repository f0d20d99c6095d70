#pragma once

#include "device/DeviceState.h"
#include "editor/ConfigModel.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace zmt {

// What a configuration sheet describes: the configuration as the editor holds it and,
// when a meter was seen in this run, its image and the calibration values. The sheet
// speaks the session's language and names its port.
struct SheetInput {
    ConfigModel model;
    SessionState session;
    QString fileName;                   // the configuration's file; empty: not saved
    std::optional<DeviceState> device;  // absent for a file on its own
    QDateTime createdAt = QDateTime::currentDateTime();
    QString journalRecord = {};  // the journal record of this configuration's write; empty: none
};

}  // namespace zmt

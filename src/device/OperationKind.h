#pragma once

// The operations on the meter that are reported and recorded, and the fixed English word a
// record keeps for each (the journal file's words; the windows show their own rows).

#include <QString>

#include <optional>

namespace zmt {

enum class Operation {
    Read,
    Write,
    Calibrate,
    Compare,  // the program's compare, the series' read-back
    Verify,   // the tool's verify: a compare as the tool names it
    Restore,
    LegacyRead,
};

inline QString OperationWord(Operation operation) {
    switch (operation) {
        case Operation::Read:
            return QStringLiteral("read");
        case Operation::Write:
            return QStringLiteral("write");
        case Operation::Calibrate:
            return QStringLiteral("calibrate");
        case Operation::Compare:
            return QStringLiteral("compare");
        case Operation::Verify:
            return QStringLiteral("verify");
        case Operation::Restore:
            return QStringLiteral("restore");
        case Operation::LegacyRead:
            return QStringLiteral("legacy-read");
    }
    return {};
}

// None for a word of a newer program.
inline std::optional<Operation> OperationOfWord(const QString& word) {
    for (const Operation operation :
         {Operation::Read, Operation::Write, Operation::Calibrate, Operation::Compare,
          Operation::Verify, Operation::Restore, Operation::LegacyRead})
        if (word == OperationWord(operation)) return operation;
    return std::nullopt;
}

// A write of a configuration (not of a recorded image).
inline bool WritesAConfiguration(Operation operation) {
    return operation == Operation::Write || operation == Operation::Calibrate;
}

inline bool ReadsOnly(Operation operation) {
    return operation == Operation::Read || operation == Operation::LegacyRead;
}

}  // namespace zmt

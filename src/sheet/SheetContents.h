#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace zmt {

// One table of the sheet. Without a header its rows are label/value pairs.
struct SheetTable {
    QStringList header;
    std::vector<QStringList> rows;
};

// A heading, an optional line under it (an error shown in place of numbers), its tables.
struct SheetSection {
    QString heading;
    QString note;
    std::vector<SheetTable> tables;
};

// Everything the sheet shows, as finished texts in the sheet's language.
struct SheetContents {
    QString title;
    SheetTable header;  // date, file, port
    std::vector<SheetSection> sections;
};

}  // namespace zmt

#pragma once

#include "language/AddedRows.h"
#include "language/OriginalRows.h"

#include <QString>

#include <array>

namespace zmt {

// The two-language text table, column 0 German, column 1 English: the program's original
// 151 rows, then the rows added since (AddedRows.h). Filled once at start-up; every reader
// looks a row up at the moment it shows the text.
class LanguageText {
  public:
    static constexpr int OriginalRowCount = 151;
    static constexpr int RowCount = rows::AddedEnd;
    static constexpr int ColumnCount = 2;  // the reserved third column is never filled

    // Assigns every filled row, both columns.
    void FillLanguageText();

    // Cell (row, column); an unfilled row, a row outside the table or a column other than
    // 0 or 1 reads as an empty text.
    QString text(int row, int languageIndex) const;

  private:
    std::array<std::array<QString, ColumnCount>, RowCount> cells_{};
};

}  // namespace zmt

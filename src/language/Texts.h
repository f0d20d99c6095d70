#pragma once

#include "language/LanguageText.h"

#include <QString>

#include <functional>
#include <utility>

namespace zmt {

// The language table in the language chosen at the moment of each look-up: what a class
// holds to show its texts, `text_(rows::Ready)`.
class Texts {
  public:
    // Follows the index wherever it changes (the session's language).
    Texts(const LanguageText& table, const int& languageIndex)
        : table_(&table), languageIndex_([index = &languageIndex] { return *index; }) {}
    Texts(const LanguageText& table, const int&& languageIndex) = delete;
    Texts(const LanguageText& table, std::function<int()> languageIndex)
        : table_(&table), languageIndex_(std::move(languageIndex)) {}

    QString operator()(int row) const { return table_->text(row, languageIndex()); }
    int languageIndex() const { return languageIndex_(); }
    const LanguageText& table() const { return *table_; }

  private:
    const LanguageText* table_;
    std::function<int()> languageIndex_;
};

}  // namespace zmt

#pragma once

#include <QLocale>

namespace zmt {

// Sets the default locale for one scope and restores the previous one after it.
class LocaleGuard {
  public:
    explicit LocaleGuard(QLocale::Language language) {
        QLocale::setDefault(QLocale(
            language, language == QLocale::German ? QLocale::Germany : QLocale::UnitedStates));
    }
    ~LocaleGuard() { QLocale::setDefault(previous_); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

  private:
    QLocale previous_;
};

}  // namespace zmt

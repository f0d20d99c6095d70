#pragma once

#include "editor/ConfigModel.h"
#include "language/LanguageText.h"
#include "language/Texts.h"
#include "sheet/SheetContents.h"
#include "sheet/SheetInput.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace zmt {

// The contents of a configuration sheet, without a page: the configuration as the user
// sees it, what the meter displays for it, where the contact switches, the messages the
// main window would show, the calibration of this run and the words a write would send.
// Everything is computed on copies with the editor's own rules; the caller's model is
// never touched. A configuration that cannot be evaluated shows why instead of numbers.
class ConfigurationSheet {
  public:
    explicit ConfigurationSheet(SheetInput input);

    SheetContents contents() const;
    QString title() const;

  private:
    SheetTable Header() const;
    SheetSection Configuration() const;
    SheetSection Displays() const;
    SheetSection Contact() const;
    SheetSection Messages() const;
    SheetSection Calibration() const;
    SheetSection Words() const;

    QString DeviceTypeText() const;
    QString DecimalPointText() const;
    QString PolarityText() const;
    QString LimitModeText() const;
    QString InputText(const QString& value) const;
    QString DisplayEntryText(const QString& value) const;
    QString DisplayText(std::int64_t value) const;
    QStringList DisplayRow(const QString& label, const QString& input) const;
    QStringList ThresholdRow(int conditionRow, const QString& threshold) const;
    QString InputAtDisplay(long double display) const;

    SheetInput input_;
    LanguageText texts_;
    int language_ = 0;
    Texts text_{texts_, language_};
    bool coefficientsOk_ = false;
    QStringList messages_;  // as the main window's memo would show them
};

}  // namespace zmt

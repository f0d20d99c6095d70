#pragma once

#include "device/ImageComparison.h"
#include "editor/ConfigEditor.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <vector>

namespace zmt::cli {

// What the tool prints, in the editor's language: a configuration, its test line, its
// coefficients, a comparison; and the same as JSON values with fixed English keys.
class Report {
  public:
    explicit Report(const ConfigEditor& editor) : editor_(editor) {}

    QStringList Configuration() const;
    QString TestLine() const;
    QStringList Coefficients() const;
    QStringList Comparison(const std::vector<ImageDifference>& differences) const;

    QJsonObject ConfigurationJson() const;
    QJsonObject TestJson() const;
    QJsonObject CoefficientsJson() const;
    // Each difference names what differs in English, whatever the language.
    QJsonArray ComparisonJson(const std::vector<ImageDifference>& differences) const;
    static QJsonArray Lines(const QStringList& lines);
    static QJsonArray Words(const ImageWords& image);

  private:
    QString Item(int row, const QString& value) const;
    QString Unit() const;
    QString Contact() const;

    const ConfigEditor& editor_;
    Texts text_{editor_.wording()};
};

}  // namespace zmt::cli

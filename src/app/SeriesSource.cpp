#include "app/SeriesSource.h"

#include "editor/ConfigEditor.h"
#include "editor/SettingsFile.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"

#include <QFileInfo>

namespace zmt {

SettingsResult LoadSeriesSource(const QString& path, LanguageText& texts, SeriesSource& source) {
    ConfigModel model;
    SessionState session;
    ConfigEditor editor{model, session, texts};
    const SettingsFileContent read = ReadUsableSettingsFile(path, editor);
    if (!read.result.ok) return read.result;
    Effects ignored;  // the window shows the summary, not the evaluation's memo lines
    ApplySettingsLines(read.lines, editor, ignored);
    editor.UpdateRangeInfo();
    editor.Recalculate(ignored);
    source = SeriesSource{model, path};
    return {};
}

QString SeriesSourceLine(const SeriesSource& source, const LanguageText& texts, int language) {
    const ConfigModel& m = source.model;
    const DeviceType* type = DeviceTypeAt(m.SelectRange);
    const QString name = source.file.isEmpty() ? texts.text(rows::SeriesSourceEditor, language)
                                               : QFileInfo(source.file).fileName();
    // A line that wraps breaks between the parts, never inside "4 → 0" (a line breaks after
    // the hyphen of "->", so the arrow is one character).
    const QString scaling =
        QStringLiteral("%1\u00a0\u2192\u00a0%2\u00a0..\u00a0%3\u00a0\u2192\u00a0%4")
            .arg(m.Skalin1.trimmed(), m.Skalout1.trimmed(), m.Skalin2.trimmed(),
                 m.Skalout2.trimmed());
    const QString limit = m.LimitMode == QLatin1String("gwno")
                              ? texts.text(rows::SeriesLimitUnused, language)
                              : m.RelaisOn.trimmed() + u'/' + m.RelaisOff.trimmed();
    return texts.text(rows::SeriesSourceSummary, language)
        .arg(name, type ? QString::fromUtf8(type->itemText) : QStringLiteral("-"), scaling, limit);
}

}  // namespace zmt

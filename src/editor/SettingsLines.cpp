#include "editor/SettingsLines.h"

#include "editor/ComNames.h"
#include "editor/Numbers.h"
#include "language/LanguageText.h"

namespace zmt {
namespace {

// Line numbers of the settings lines, counted from 0.
namespace line {
constexpr int Port = 2;
constexpr int DecimalPoint = 3;
constexpr int DeviceType = 4;
constexpr int Skalin1 = 5;
constexpr int Skalout1 = 6;
constexpr int Skalin2 = 7;
constexpr int Skalout2 = 8;
constexpr int Testin1 = 9;
constexpr int Power = 10;
constexpr int Signal = 11;
constexpr int RelaisOn = 12;
constexpr int RelaisOff = 13;
constexpr int LimitMode = 14;
constexpr int Polarity = 15;
constexpr int Language = 16;
}  // namespace line

constexpr std::pair<int, Field> FieldLines[] = {
    {line::Skalin1, Field::Skalin1},     {line::Skalout1, Field::Skalout1},
    {line::Skalin2, Field::Skalin2},     {line::Skalout2, Field::Skalout2},
    {line::Testin1, Field::Testin1},     {line::RelaisOn, Field::RelaisOn},
    {line::RelaisOff, Field::RelaisOff},
};

const QString PowerOff = "device off";
const QString SignalOff = "signal off";

QString LimitModeOf(const QString& line) {
    return ConfigEditor::LimitModeGlyph(line) == Glyph::None ? ModeNormal : line;
}

SettingsResult LineError(int row, int line, const QString& text) {
    return SettingsResult::failure(row, {QString::number(line), text});
}

void ReadLines(const QStringList& lines, ConfigModel& model, SessionState& session) {
    session.ComPortName = lines[line::Port];
    model.DecimalPoint = numbers::ParseInteger(lines[line::DecimalPoint]);
    model.SelectRange = numbers::ParseInteger(lines[line::DeviceType]);
    for (const auto& [line, field] : FieldLines) model.setField(field, lines[line]);
    session.PowerOn = lines[line::Power] != PowerOff;
    session.SignalOn = lines[line::Signal] != SignalOff;
    model.LimitMode = LimitModeOf(lines[line::LimitMode]);
    model.polaritaet =
        lines[line::Polarity] == PolarityPositiveOnly ? PolarityPositiveOnly : PolaritySigned;
    session.LanguageIndex = lines[line::Language] == "1" ? 1 : 0;
}

// The port is opened by number: a name that is none of COM1..COM4 leaves COM1.
void NumberThePort(SessionState& session) {
    session.ComPortNumber = 1;
    for (int n = 1; n <= ComPortCount; ++n) {
        if (session.ComPortName != ComName(n)) continue;
        session.CheckedComItem = n;
        session.ComPortNumber = n;
    }
}

}  // namespace

QStringList BuildSettingsLines(const ConfigModel& model, const SessionState& session) {
    QStringList lines{"4824-1", "V6.0", ComName(session.ComPortNumber),
                      QString::number(model.DecimalPoint), QString::number(model.SelectRange)};
    lines << model.Skalin1 << model.Skalout1 << model.Skalin2 << model.Skalout2 << model.Testin1;
    lines << (session.PowerOn ? "device on" : "device off")
          << (session.SignalOn ? "signal on" : "signal off");
    lines << model.RelaisOn << model.RelaisOff << model.LimitMode << model.polaritaet
          << QString::number(session.LanguageIndex);
    while (lines.size() < SettingsLineCount) lines << QString();
    return lines;
}

QString SettingsResult::message(const LanguageText& texts, int languageIndex) const {
    if (ok) return {};
    const QString text = texts.text(reasonRow, languageIndex);
    // All placeholders in one step: a path holding "%1" stays as it is.
    switch (reasonArgs.size()) {
        case 0:
            return text;
        case 1:
            return text.arg(reasonArgs[0]);
        default:
            return text.arg(reasonArgs[0], reasonArgs[1]);
    }
}

SettingsResult CheckSettingsLines(const QStringList& lines) {
    if (lines.size() < SettingsLinesRead)
        return SettingsResult::failure(
            rows::SettingsTooFewLines,
            {QString::number(lines.size()), QString::number(SettingsLinesRead)});
    std::int32_t value = 0;
    if (!numbers::TryParseInteger(lines[line::DecimalPoint], value))
        return LineError(rows::SettingsLineNotAnInteger, line::DecimalPoint,
                         lines[line::DecimalPoint]);
    const QString& type = lines[line::DeviceType];
    if (!numbers::TryParseInteger(type, value))
        return LineError(rows::SettingsLineNotAnInteger, line::DeviceType, type);
    if (value < -1 || value >= static_cast<int>(DeviceTypes.size()))
        return LineError(rows::SettingsLineNoDeviceType, line::DeviceType, type);
    return {};
}

std::optional<int> LanguageOfLines(const QStringList& lines) {
    if (lines.size() <= line::Language) return std::nullopt;
    return lines[line::Language] == "1" ? 1 : 0;
}

SettingsResult TrySettingsLines(const QStringList& lines, ConfigEditor& editor,
                                const QString& source) {
    ConfigModel model = editor.model();
    SessionState session = editor.session();
    ConfigEditor trial(model, session, editor.texts());
    Effects unseen;
    try {
        const SettingsResult applied = ApplySettingsLines(lines, trial, unseen);
        if (!applied.ok) return applied;
        trial.UpdateRangeInfo();
        trial.Recalculate(unseen);
    } catch (const ConversionError& error) {
        return SettingsResult::failure(rows::SettingsValueUnreadable,
                                       {source, QString::fromStdString(error.what())});
    }
    return {};
}

SettingsResult ApplySettingsLines(const QStringList& lines, ConfigEditor& editor, Effects& fx) {
    SettingsResult check = CheckSettingsLines(lines);
    if (!check.ok) return check;
    ConfigModel& model = editor.model();
    ReadLines(lines, model, editor.session());
    // The glyph and the port cannot fail; setting them before the evaluation means a
    // field the evaluation cannot read still leaves the whole file applied.
    model.GrenzwertartGlyph = ConfigEditor::LimitModeGlyph(model.LimitMode);
    NumberThePort(editor.session());
    if (!ConfigEditor::DecimalPointRadio(model.DecimalPoint).isEmpty())
        editor.DecimalPointChosen(model.DecimalPoint, fx);
    return check;
}

}  // namespace zmt

#include "SettingsLines.h"

#include "Numbers.h"

namespace zmt {
namespace {

// Line numbers of the settings lines, counted from 0.
namespace Line {
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
}  // namespace Line

constexpr std::pair<int, Field> FieldLines[] = {
    {Line::Skalin1, Field::Skalin1},     {Line::Skalout1, Field::Skalout1},
    {Line::Skalin2, Field::Skalin2},     {Line::Skalout2, Field::Skalout2},
    {Line::Testin1, Field::Testin1},     {Line::RelaisOn, Field::RelaisOn},
    {Line::RelaisOff, Field::RelaisOff},
};

const QString PowerOff = "device off";
const QString SignalOff = "signal off";
constexpr int ComPortCount = 4;

QString LimitModeOf(const QString& line) {
    return ConfigEditor::LimitModeGlyph(line) == Glyph::None ? ModeNormal : line;
}

SettingsResult LineError(int line, const QString& text, const QString& what) {
    return SettingsResult::failure(
        QStringLiteral("Settings line %1: '%2' is not %3").arg(line).arg(text, what));
}

void ReadLines(const QStringList& lines, ConfigModel& model, SessionState& session) {
    session.ComPortName = lines[Line::Port];
    model.DecimalPoint = numbers::ParseInteger(lines[Line::DecimalPoint]);
    model.SelectRange = numbers::ParseInteger(lines[Line::DeviceType]);
    for (const auto& [line, field] : FieldLines) model.setField(field, lines[line]);
    session.PowerOn = lines[Line::Power] != PowerOff;
    session.SignalOn = lines[Line::Signal] != SignalOff;
    model.LimitMode = LimitModeOf(lines[Line::LimitMode]);
    model.polaritaet =
        lines[Line::Polarity] == PolarityPositiveOnly ? PolarityPositiveOnly : PolaritySigned;
    session.LanguageIndex = lines[Line::Language] == "1" ? 1 : 0;
}

// The port is opened by number: a name that is none of COM1..COM4 leaves COM1.
void NumberThePort(SessionState& session) {
    session.ComPortNumber = 1;
    for (int n = 1; n <= ComPortCount; ++n) {
        if (session.ComPortName != QStringLiteral("COM%1").arg(n)) continue;
        session.CheckedComItem = n;
        session.ComPortNumber = n;
    }
}

}  // namespace

QStringList BuildSettingsLines(const ConfigModel& model, const SessionState& session) {
    QStringList lines{"4824-1", "V6.0", QStringLiteral("COM%1").arg(session.ComPortNumber),
                      QString::number(model.DecimalPoint), QString::number(model.SelectRange)};
    lines << model.Skalin1 << model.Skalout1 << model.Skalin2 << model.Skalout2 << model.Testin1;
    lines << (session.PowerOn ? "device on" : "device off")
          << (session.SignalOn ? "signal on" : "signal off");
    lines << model.RelaisOn << model.RelaisOff << model.LimitMode << model.polaritaet
          << QString::number(session.LanguageIndex);
    while (lines.size() < SettingsLineCount) lines << QString();
    return lines;
}

SettingsResult CheckSettingsLines(const QStringList& lines) {
    if (lines.size() < SettingsLinesRead)
        return SettingsResult::failure(
            QStringLiteral("Settings file has %1 lines; at least %2 are needed")
                .arg(lines.size())
                .arg(SettingsLinesRead));
    std::int32_t value = 0;
    if (!numbers::TryParseInteger(lines[Line::DecimalPoint], value))
        return LineError(Line::DecimalPoint, lines[Line::DecimalPoint], "an integer");
    const QString& type = lines[Line::DeviceType];
    if (!numbers::TryParseInteger(type, value))
        return LineError(Line::DeviceType, type, "an integer");
    if (value < -1 || value >= static_cast<int>(DeviceTypes.size()))
        return LineError(Line::DeviceType, type, "a device type (-1 to 5)");
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

#include "sheet/ConfigurationSheet.h"

#include "device/DeviceImage.h"
#include "device/WriteCheck.h"
#include "editor/ConfigEditor.h"
#include "editor/Effects.h"
#include "editor/Numbers.h"
#include "language/AddedRows.h"
#include "language/OriginalRows.h"

#include <cmath>

namespace zmt {

namespace {

// A file may hold any text in a five-character field; the sheet shows the start of it.
constexpr int LongestEntry = 60;
constexpr int LongestLine = 120;
constexpr int Percentages[] = {0, 25, 50, 75, 100};
const QString Dash = QStringLiteral("\u2014");
const char* const DateFormats[] = {"dd.MM.yyyy HH:mm", "yyyy-MM-dd HH:mm"};

QString Shown(const QString& text, int longest = LongestEntry) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() <= longest) return trimmed;
    return trimmed.left(longest - 1) + QChar(0x2026);
}

QString WithUnit(const QString& value, const QString& unit) {
    return unit.trimmed().isEmpty() ? value : value + u' ' + unit.trimmed();
}

QString Hex(std::uint16_t word) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(word, 4, 16, QChar(u'0')).toUpper();
}

std::optional<long double> RealOf(const QString& text) {
    long double value = 0;
    if (!numbers::TryParseReal(text, value) || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

ConfigurationSheet::ConfigurationSheet(SheetInput input) : input_(std::move(input)) {
    texts_.FillLanguageText();
    language_ = input_.session.LanguageIndex == 1 ? 1 : 0;
    input_.session.LanguageIndex = language_;
    ConfigEditor editor(input_.model, input_.session, texts_);
    editor.UpdateRangeInfo();
    ConfigModel probe = input_.model;
    coefficientsOk_ = EvaluateCoefficients(probe);
    // The evaluation the main window runs after every edit, with its memo lines.
    Effects fx;
    try {
        editor.Recalculate(fx);
    } catch (const ConversionError& error) {
        fx.addMem(QString::fromUtf8(error.what()));
    }
    for (const QString& line : fx.applyTo({}))
        if (!messages_.contains(line)) messages_ << line;
}

QString ConfigurationSheet::title() const {
    const DeviceType* type = DeviceTypeAt(input_.model.SelectRange);
    return text_(rows::SheetTitle)
        .arg(type ? QString::fromUtf8(type->itemText) : text_(rows::NoDeviceTypeChosen));
}

SheetContents ConfigurationSheet::contents() const {
    SheetContents sheet{title(), Header(), {Configuration(), Displays(), Contact(), Messages()}};
    const SheetSection calibration = Calibration();
    if (!calibration.tables.empty()) sheet.sections.push_back(calibration);
    sheet.sections.push_back(Words());
    return sheet;
}

// ---------------------------------------------------------------- the configuration

SheetTable ConfigurationSheet::Header() const {
    const QString file = input_.fileName.isEmpty() ? text_(rows::SheetFileNotSaved)
                                                   : Shown(input_.fileName, LongestLine);
    const QString port =
        input_.session.ComPortName.trimmed().isEmpty() ? Dash : Shown(input_.session.ComPortName);
    SheetTable header{{},
                      {{text_(rows::SheetDate), input_.createdAt.toString(DateFormats[language_])},
                       {text_(rows::SheetFile), file},
                       {text_(rows::SheetPort), port}}};
    if (!input_.journalRecord.isEmpty())
        header.rows.push_back(
            {text_(rows::JournalRecordNamed).arg(Shown(input_.journalRecord, LongestLine))});
    return header;
}

SheetSection ConfigurationSheet::Configuration() const {
    const ConfigModel& m = input_.model;
    SheetTable table{{},
                     {{text_(rows::SheetDeviceType), DeviceTypeText()},
                      {text_(rows::SheetDecimalPoint), DecimalPointText()},
                      {text_(rows::EntryInput1), InputText(m.Skalin1)},
                      {text_(rows::EntryDisplay1), DisplayEntryText(m.Skalout1)},
                      {text_(rows::EntryInput2), InputText(m.Skalin2)},
                      {text_(rows::EntryDisplay2), DisplayEntryText(m.Skalout2)},
                      {text_(rows::SheetPolarity), PolarityText()},
                      {text_(rows::SheetLimitMode), LimitModeText()},
                      {text_(rows::EntryLimitOn), DisplayEntryText(m.RelaisOn)},
                      {text_(rows::EntryLimitOff), DisplayEntryText(m.RelaisOff)},
                      {text_(rows::SheetTestInput), InputText(m.Testin1)}}};
    return {text_(rows::SheetConfiguration), {}, {table}};
}

QString ConfigurationSheet::DeviceTypeText() const {
    const DeviceType* type = DeviceTypeAt(input_.model.SelectRange);
    if (!type) return text_(rows::NoDeviceTypeChosen);
    return text_(rows::SheetDeviceTypeValue)
        .arg(QString::fromUtf8(type->itemText), QString::fromUtf8(type->unitText).trimmed(),
             numbers::FormatGeneral(type->fullScale));
}

QString ConfigurationSheet::DecimalPointText() const {
    const int code = input_.model.DecimalPoint;
    if (code == 4) return texts_.text(rows::NoPoint, language_);
    if (code < 0 || code > 4) return QString::number(code);
    // The meter's four digits with the point where it will be.
    return ConfigEditor::FormatWithDecimalPoint(8888, code);
}

QString ConfigurationSheet::PolarityText() const {
    const QString& caption = input_.model.polaritaet;
    if (caption == PolaritySigned) return caption + "  (" + text_(rows::SheetPolaritySigned) + ')';
    if (caption == PolarityPositiveOnly)
        return caption + "  (" + text_(rows::SheetPolarityPositiveOnly) + ')';
    return Shown(caption);
}

QString ConfigurationSheet::LimitModeText() const {
    const QString& mode = input_.model.LimitMode;
    if (mode == ModeNormal) return text_(rows::SheetModeAbove);
    if (mode == ModeInverted) return text_(rows::SheetModeBelow);
    if (mode == ModeUnused) return text_(rows::NotUsed);
    return Shown(mode);
}

QString ConfigurationSheet::InputText(const QString& value) const {
    return WithUnit(Shown(value), input_.model.UnitText);
}

// A display entry is typed without its point; the meter shows it with one.
QString ConfigurationSheet::DisplayEntryText(const QString& value) const {
    const QString shown = Shown(value);
    std::int32_t digits = 0;
    const int code = input_.model.DecimalPoint;
    if (code < 0 || code > 3 || !numbers::TryParseInteger(value, digits)) return shown;
    return shown + "  (" + DisplayText(digits) + ')';
}

QString ConfigurationSheet::DisplayText(std::int64_t value) const {
    const QString magnitude =
        ConfigEditor::FormatWithDecimalPoint(value, input_.model.DecimalPoint);
    return value < 0 ? "-" + magnitude : magnitude;
}

// ---------------------------------------------------------------- what follows from it

SheetSection ConfigurationSheet::Displays() const {
    SheetSection section{text_(rows::SheetDisplays), {}, {}};
    if (!coefficientsOk_) {
        section.note = text_(rows::MathError);
        return section;
    }
    const ConfigModel& m = input_.model;
    const double fullScale = m.RangeFullScale;
    SheetTable points{{}, {{text_(rows::SheetDisplayAtZero), DisplayText(m.DisplayAtZero)}}};
    SheetTable table{{QString(), text_(rows::SheetColumnInput), text_(rows::SheetColumnDisplay),
                      text_(rows::SheetColumnContact)},
                     {}};
    if (fullScale > 0) {
        const QString fullScaleInput = WithUnit(numbers::FormatGeneral(fullScale), m.UnitText);
        points.rows.push_back({text_(rows::SheetDisplayAtFullScale).arg(fullScaleInput),
                               DisplayText(m.DisplayAtFullScale)});
        for (int percent : Percentages) {
            const long double input = static_cast<long double>(fullScale) * percent / 100;
            table.rows.push_back(
                DisplayRow(QStringLiteral("%1 %").arg(percent), numbers::FormatGeneral(input)));
        }
    } else {
        section.note = text_(rows::NoDeviceTypeChosen);
    }
    table.rows.push_back(DisplayRow(text_(rows::SheetTestInput), m.Testin1));
    section.tables = {points, table};
    return section;
}

// One input through the main window's evaluation, on a copy: its test display and contact.
QStringList ConfigurationSheet::DisplayRow(const QString& label, const QString& input) const {
    ConfigModel model = input_.model;
    SessionState session = input_.session;
    LanguageText texts = texts_;
    ConfigEditor editor(model, session, texts);
    model.setField(Field::Testin1, input);
    Effects ignored;
    try {
        editor.Recalculate(ignored);
    } catch (const ConversionError& error) {
        return {label, InputText(input), Shown(QString::fromUtf8(error.what()), LongestLine), Dash};
    }
    QString contact = Dash;
    if (model.kontaktbildGlyph == Glyph::kontaktonbild) contact = text_(rows::SheetContactClosed);
    if (model.kontaktbildGlyph == Glyph::kontaktoffbild) contact = text_(rows::SheetContactOpen);
    if (model.kontaktbildGlyph == Glyph::kontaktnobild) contact = text_(rows::NotUsed);
    return {label, InputText(input), model.Testout1.trimmed(), contact};
}

SheetSection ConfigurationSheet::Contact() const {
    SheetSection section{text_(rows::SheetContact), {}, {}};
    const QString& mode = input_.model.LimitMode;
    if (mode == ModeUnused) {
        section.note = text_(rows::NotUsed);
    } else if (mode != ModeNormal && mode != ModeInverted) {
        section.note = Dash;
    } else if (!coefficientsOk_) {
        section.note = text_(rows::MathError);
    } else {
        const bool normal = mode == ModeNormal;
        SheetTable table{{QString(), text_(rows::SheetSwitchesAtInput)}, {}};
        table.rows.push_back(
            ThresholdRow(normal ? rows::OnAtOrAbove : rows::OnAtOrBelow, input_.model.RelaisOn));
        table.rows.push_back(
            ThresholdRow(normal ? rows::OffAtOrBelow : rows::OffAtOrAbove, input_.model.RelaisOff));
        section.tables = {table};
    }
    return section;
}

QStringList ConfigurationSheet::ThresholdRow(int conditionRow, const QString& threshold) const {
    const QString condition = texts_.text(conditionRow, language_).trimmed();
    const auto value = RealOf(threshold);
    if (!value) return {condition + u' ' + Shown(threshold), Dash};
    const std::int64_t display = numbers::RoundHalfEven(*value);
    return {condition + u' ' + DisplayText(display), InputAtDisplay(display)};
}

// Where the input brings the display to `display`, with the rounded offset the meter uses.
QString ConfigurationSheet::InputAtDisplay(long double display) const {
    const ConfigModel& m = input_.model;
    if (m.ScaleSlope == 0) return Dash;
    const long double input = (display - m.ScaleOffset) / m.ScaleSlope;
    const long double rounded = std::round(input * 1000) / 1000;
    QString shown = WithUnit(numbers::FormatGeneral(rounded), m.UnitText);
    if (m.RangeFullScale > 0 && std::fabs(input) > m.RangeFullScale)
        shown += "  (" + text_(rows::SheetOutsideRange) + ')';
    return shown;
}

SheetSection ConfigurationSheet::Messages() const {
    SheetTable table;
    for (const QString& line : messages_) table.rows.push_back({Shown(line, LongestLine)});
    if (table.rows.empty()) table.rows.push_back({text_(rows::SheetNoMessages)});
    return {text_(rows::SheetMessages), {}, {table}};
}

// ---------------------------------------------------------------- calibration and words

SheetSection ConfigurationSheet::Calibration() const {
    SheetSection section{text_(rows::SheetCalibration), {}, {}};
    const auto& device = input_.device;
    if (!device || (!device->OffsetDisplayReading && !device->GainDisplayReading)) return section;
    const auto reading = [this](const std::optional<std::int64_t>& value) {
        return value ? QString::number(*value) : text_(rows::SheetNotTaken);
    };
    SheetTable table{{},
                     {{text_(rows::SheetOffsetReading), reading(device->OffsetDisplayReading)},
                      {text_(rows::SheetGainReading), reading(device->GainDisplayReading)}}};
    if (device->OffsetDisplayReading) {
        const auto offset = static_cast<std::int16_t>(device->OffsetReading);
        table.rows.push_back(
            {text_(rows::SheetOffsetWord),
             QStringLiteral("%1  (%2)").arg(offset).arg(Hex(device->OffsetReading))});
    }
    if (device->GainDisplayReading) {
        const auto word = static_cast<std::uint16_t>(device->GainFactor);
        table.rows.push_back({text_(rows::SheetGainWord),
                              QStringLiteral("%1  (%2)").arg(device->GainFactor).arg(Hex(word))});
    }
    section.tables = {table};
    return section;
}

SheetSection ConfigurationSheet::Words() const {
    SheetSection section{text_(rows::SheetWords), {}, {}};
    const WriteCheck check = CheckWritableConfiguration(input_.model);
    if (!check.ok()) {
        section.note = text_(rows::SheetCannotWrite) + u' ' +
                       Shown(WriteProblemLine(check, texts_, language_), LongestLine);
        return section;
    }
    DeviceState device = input_.device.value_or(DeviceState{});
    try {
        ConfigToImage(device, input_.model);
    } catch (const ConversionError& error) {
        section.note = Shown(QString::fromUtf8(error.what()), LongestLine);
        return section;
    }
    // Without a read of the meter, the words a write passes on are not known here.
    const bool fromMeter = input_.device && input_.device->ImageFromMeter;
    const auto cells = [&](int word) -> QStringList {
        const QString name = QStringLiteral("w%1").arg(word);
        const bool passedOn = word == words::w0 || word == words::w2 || word == words::w8;
        if (passedOn && !fromMeter) return {name, text_(rows::SheetWordFromMeter), Dash};
        const std::uint16_t value = device.DeviceImage[word];
        return {name, Hex(value), QString::number(value)};
    };
    const QStringList columns{text_(rows::SheetColumnWord), text_(rows::SheetColumnHex),
                              text_(rows::SheetColumnDecimal)};
    SheetTable table{columns + columns, {}};
    // Two halves side by side keep the sixteen words on the page.
    constexpr int Half = ImageWordCount / 2;
    for (int word = 0; word < Half; ++word) table.rows.push_back(cells(word) + cells(word + Half));
    section.note = text_(rows::SheetWordsNote);
    section.tables = {table};
    return section;
}

}  // namespace zmt

#include "cli/Report.h"

#include "editor/Numbers.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"

namespace zmt::cli {

namespace {

QString DeviceTypeName(const ConfigModel& model) {
    const DeviceType* type = DeviceTypeAt(model.SelectRange);
    return type ? QString::fromUtf8(type->itemText) : QString();
}

QJsonValue Number(const QString& text) {
    long double value = 0;
    if (!numbers::TryParseReal(text, value)) return text.trimmed();
    return static_cast<double>(value);
}

}  // namespace

QString Report::Item(int row, const QString& value) const {
    return text_(row) + QStringLiteral(": ") + value;
}

QString Report::Unit() const {
    return editor_.model().UnitText.trimmed();
}

QStringList Report::Configuration() const {
    const ConfigModel& m = editor_.model();
    const auto withUnit = [this](const QString& field) { return field.trimmed() + u' ' + Unit(); };
    return {Item(rows::ItemDeviceType, DeviceTypeName(m)),
            Item(rows::ItemDecimalPoint, DecimalPointPattern(m.DecimalPoint)),
            Item(rows::EntryInput1, withUnit(m.Skalin1)),
            Item(rows::EntryDisplay1, m.Skalout1.trimmed()),
            Item(rows::EntryInput2, withUnit(m.Skalin2)),
            Item(rows::EntryDisplay2, m.Skalout2.trimmed()),
            Item(rows::ItemPolarity, m.polaritaet),
            Item(rows::ItemLimitMode, m.LimitMode),
            Item(rows::EntryLimitOn, m.RelaisOn.trimmed()),
            Item(rows::EntryLimitOff, m.RelaisOff.trimmed())};
}

QString Report::Contact() const {
    switch (editor_.model().kontaktbildGlyph) {
        case Glyph::kontaktonbild:
            return text_(rows::ContactClosed);
        case Glyph::kontaktoffbild:
            return text_(rows::ContactOpen);
        default:
            return text_(rows::ContactNotUsed);
    }
}

QString Report::TestLine() const {
    const ConfigModel& m = editor_.model();
    return text_(rows::TestLine)
        .arg(m.Testin1.trimmed() + u' ' + Unit(), m.Testout1.trimmed(), Contact());
}

QStringList Report::Coefficients() const {
    const ConfigModel& m = editor_.model();
    return {Item(rows::ItemSlope, numbers::FormatGeneral(m.ScaleSlope)),
            Item(rows::ItemDisplayAtZero, QString::number(m.DisplayAtZero)),
            Item(rows::ItemDisplayAtFullScale, QString::number(m.DisplayAtFullScale)),
            Item(rows::ItemSpanPer2000, numbers::FormatGeneral(m.SpanPer2000))};
}

QStringList Report::Comparison(const std::vector<ImageDifference>& differences) const {
    if (differences.empty()) return {text_(rows::MeterMatches)};
    QStringList lines{text_(rows::MeterDiffers)};
    for (const ImageDifference& difference : differences)
        lines << DifferenceText(difference, editor_.texts(), editor_.session().LanguageIndex);
    return lines;
}

QJsonObject Report::ConfigurationJson() const {
    const ConfigModel& m = editor_.model();
    return {{"deviceType", DeviceTypeName(m)}, {"unit", Unit()},
            {"decimalPoint", m.DecimalPoint},  {"input1", Number(m.Skalin1)},
            {"display1", Number(m.Skalout1)},  {"input2", Number(m.Skalin2)},
            {"display2", Number(m.Skalout2)},  {"polarity", m.polaritaet},
            {"limitMode", m.LimitMode},        {"limitOn", Number(m.RelaisOn)},
            {"limitOff", Number(m.RelaisOff)}, {"testInput", Number(m.Testin1)}};
}

QJsonObject Report::TestJson() const {
    const ConfigModel& m = editor_.model();
    const Glyph contact = m.kontaktbildGlyph;
    const QString state = contact == Glyph::kontaktonbild    ? "closed"
                          : contact == Glyph::kontaktoffbild ? "open"
                                                             : "not used";
    return {{"input", Number(m.Testin1)}, {"display", m.Testout1.trimmed()}, {"contact", state}};
}

QJsonObject Report::CoefficientsJson() const {
    const ConfigModel& m = editor_.model();
    return {{"slope", m.ScaleSlope},
            {"displayAtZero", m.DisplayAtZero},
            {"displayAtFullScale", m.DisplayAtFullScale},
            {"spanPer2000", m.SpanPer2000}};
}

QJsonArray Report::ComparisonJson(const std::vector<ImageDifference>& differences) const {
    constexpr int English = 1;
    QJsonArray list;
    for (const ImageDifference& d : differences)
        list.append(QJsonObject{
            {"what", editor_.texts().text(d.what, English)}, {"file", d.file}, {"meter", d.meter}});
    return list;
}

QJsonArray Report::Lines(const QStringList& lines) {
    return QJsonArray::fromStringList(lines);
}

QJsonArray Report::Words(const ImageWords& image) {
    QJsonArray words;
    for (std::uint16_t word : image) words.append(word);
    return words;
}

}  // namespace zmt::cli

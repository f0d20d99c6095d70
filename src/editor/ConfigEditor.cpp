#include "editor/ConfigEditor.h"

#include "editor/Numbers.h"
#include "language/LanguageText.h"
#include "language/OriginalRows.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace zmt {
namespace {

using numbers::FormatGeneral;
using numbers::ParseInteger;
using numbers::ParseReal;
using numbers::RoundHalfEven;
using numbers::TryParseInteger;
using numbers::TryParseReal;

constexpr int GermanColumn = 0;
constexpr std::int64_t DisplayMax = 9999;
constexpr std::int64_t DisplayMin = -1999;
constexpr std::int64_t ThresholdMin = -1999;

std::optional<long double> RealOf(const QString& text) {
    long double value = 0;
    if (!TryParseReal(text, value)) return std::nullopt;
    return value;
}

// A coefficient the meter stores as int32; values outside it cannot be computed.
std::optional<std::int32_t> RoundToInt32(long double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const std::int64_t rounded = RoundHalfEven(value);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

// Stores an extended result into a double, failing where the double cannot hold it.
bool StoreDouble(long double value, double& target) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<double>::max())
        return false;
    target = static_cast<double>(value);
    return true;
}

// Inserts the decimal comma into a digit text for code `decimalPoint`.
QString InsertDecimalComma(QString digits, int decimalPoint) {
    // Codes beyond 0..3 carry no comma (4 is "no point"); only a loaded file holds others.
    if (decimalPoint < 0 || decimalPoint > 3) return digits;
    digits = digits.rightJustified(decimalPoint + 1, u'0');
    digits.insert(digits.size() - decimalPoint, u',');
    return digits;
}

// Each click moves the limit mode one step; the thresholds change places where the
// contact's sense turns over.
struct LimitModeStep {
    const char* from;
    const char* to;
    bool exchange;
    int onRow;  // rows::NotUsed: the contact is not used
    int offRow;
};

constexpr LimitModeStep LimitModeCycle[] = {
    {"gwnorm", "gwinv", true, rows::OnAtOrBelow, rows::OffAtOrAbove},
    {"gwinv", "gwno", false, rows::NotUsed, rows::NotUsed},
    {"gwno", "gwnorm", true, rows::OnAtOrAbove, rows::OffAtOrBelow},
};

// A threshold field as the mode messages show it: its real's magnitude in general format,
// with the comma of the decimal point code and a leading minus for a negative value.
QString FormatThreshold(const QString& fieldText, int decimalPoint) {
    const long double value = ParseReal(fieldText);
    const QString magnitude = InsertDecimalComma(FormatGeneral(std::fabs(value)), decimalPoint);
    return value < 0 ? "-" + magnitude : magnitude;
}

// Each step stores its result before the next one may fail: a failed evaluation leaves
// the values of the steps that succeeded and the previous ones of the rest.
bool UpdateOffset(ConfigModel& model, long double x1, long double x2) {
    const auto y1 = RealOf(model.Skalout1);
    const auto y2 = RealOf(model.Skalout2);
    if (!y1 || !y2 || !StoreDouble(x2 * *y1 - x1 * *y2, model.WorkReal)) return false;
    if (!StoreDouble(model.WorkReal / (x2 - x1), model.WorkReal)) return false;
    const auto offset = RoundToInt32(model.WorkReal);
    if (!offset) return false;
    model.ScaleOffset = *offset;
    model.DisplayAtZero = *offset;
    return true;
}

bool UpdateFullScale(ConfigModel& model) {
    // The already rounded offset, as the meter applies it.
    const auto full = RoundToInt32(
        static_cast<long double>(model.RangeFullScale) * model.ScaleSlope + model.ScaleOffset);
    if (!full) return false;
    model.DisplayAtFullScale = *full;
    model.SpanPer2000 =
        (static_cast<double>(model.DisplayAtFullScale) - model.DisplayAtZero) / 2000;
    return true;
}

}  // namespace

bool EvaluateCoefficients(ConfigModel& model) {
    std::int32_t y1 = 0, y2 = 0;
    if (!TryParseInteger(model.Skalout2, y2) || !TryParseInteger(model.Skalout1, y1)) return false;
    model.ScaleSlope = static_cast<double>(static_cast<std::int64_t>(y2) - y1);
    const auto x2 = RealOf(model.Skalin2);
    const auto x1 = RealOf(model.Skalin1);
    if (!x2 || !x1) return false;
    const long double inputSpan = *x2 - *x1;
    if (inputSpan == 0 || !StoreDouble(model.ScaleSlope / inputSpan, model.ScaleSlope))
        return false;
    return UpdateOffset(model, *x1, *x2) && UpdateFullScale(model);
}

ConfigEditor::ConfigEditor(ConfigModel& model, SessionState& session, LanguageText& texts)
    : model_(model), session_(session), texts_(texts) {}

void ConfigEditor::UpdateRangeInfo() {
    if (const DeviceType* type = DeviceTypeAt(model_.SelectRange)) {
        model_.UnitText = QString::fromUtf8(type->unitText);
        model_.RangeFullScale = type->fullScale;
    }
    // The captions follow also when there is nothing to show yet.
    model_.UnitCaption = model_.UnitText;
    session_.ComInfoCaption = session_.ComPortName;
}

void ConfigEditor::SelectRangeChange(int index, Effects& fx) {
    model_.SelectRange = DeviceTypeAt(index) ? index : -1;
    UpdateRangeInfo();
    model_.setField(Field::Skalin2, FormatGeneral(model_.RangeFullScale));
    Recalculate(fx);
    fx.addMem(text_(rows::Hint));
    fx.addMem(text_(rows::TypeIsOnlyAnAid));
}

// ---------------------------------------------------------------- evaluation

void ConfigEditor::Recalculate(Effects& fx) {
    if (!EvaluateCoefficients(model_)) fx.addMem(text_(rows::MathError));
    const std::int64_t display = TestDisplayValue(fx);
    const bool negative = display < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(display) : static_cast<std::uint64_t>(display);
    ShowContactState(magnitude);
    OrderThresholds();
    const QString shown = FormatWithDecimalPoint(magnitude, model_.DecimalPoint);
    model_.Testout1 = PadField(negative ? "-" + shown : shown, TestoutWidth);
}

std::int64_t ConfigEditor::TestDisplayValue(Effects& fx) {
    const long double input = ParseReal(model_.Testin1);
    std::int64_t display = RoundHalfEven(input * model_.ScaleSlope + model_.ScaleOffset);
    if (display > DisplayMax) display = DisplayMax;
    // The meter has no minus segment for a fifth digit; the display entries are read only
    // when the test value itself is in range.
    if (display < DisplayMin || ParseInteger(model_.Skalout1) < DisplayMin ||
        ParseInteger(model_.Skalout2) < DisplayMin) {
        fx.beep();
        fx.addMem(text_(rows::BelowMinus1999));
    }
    if (model_.polaritaet == PolarityPositiveOnly && display < 0) display = 0;
    return display;
}

// The contact sees the magnitude of the display value, as the meter compares it.
void ConfigEditor::ShowContactState(std::uint64_t magnitude) {
    const Glyph mode = LimitModeGlyph(model_.LimitMode);
    if (mode == Glyph::None) return;
    model_.GrenzwertartGlyph = mode;
    if (mode == Glyph::gwno) {
        model_.kontaktbildGlyph = Glyph::kontaktnobild;
        return;
    }
    const auto shown = static_cast<long double>(magnitude);
    const long double on = ParseReal(model_.RelaisOn);
    const bool closed = mode == Glyph::gwnorm ? shown >= on : shown <= on;
    model_.kontaktbildGlyph = closed ? Glyph::kontaktonbild : Glyph::kontaktoffbild;
}

void ConfigEditor::OrderThresholds() {
    const bool normal = model_.LimitMode == ModeNormal;
    if (!normal && model_.LimitMode != ModeInverted) return;
    const long double on = ParseReal(model_.RelaisOn);
    const long double off = ParseReal(model_.RelaisOff);
    if (normal ? on < off : on > off) std::swap(model_.RelaisOn, model_.RelaisOff);
}

QString ConfigEditor::FormatWithDecimalPoint(std::int64_t magnitude, int decimalPoint) {
    const std::uint64_t digits =
        magnitude < 0 ? 0 - static_cast<std::uint64_t>(magnitude) : magnitude;
    return InsertDecimalComma(QString::number(digits), decimalPoint);
}

QString ConfigEditor::DecimalPointRadio(int code) {
    static const char* const Radios[] = {"DP4", "DP3", "DP2", "DP1", "DP0"};
    return code >= 0 && code <= 4 ? QString(Radios[code]) : QString();
}

// ---------------------------------------------------------------- field exits

void ConfigEditor::FieldExit(Field field, Effects& fx) {
    switch (field) {
        case Field::Skalin1:
            // This field reports its parse failure in German whatever the language.
            ExitScalingInput(field, Field::Skalin2, texts_.text(rows::InputError, GermanColumn),
                             fx);
            break;
        case Field::Skalin2:
            ExitScalingInput(field, Field::Skalin1, text_(rows::InputError), fx);
            break;
        case Field::Skalout1:
        case Field::Skalout2:
            ExitDisplay(field, fx);
            break;
        case Field::Testin1:
            model_.setField(field, FormatGeneral(ClampedInput(field, text_(rows::InputError), fx)));
            Recalculate(fx);
            break;
        case Field::RelaisOn:
        case Field::RelaisOff:
            ExitThreshold(field, fx);
            break;
    }
}

long double ConfigEditor::ClampedInput(Field field, const QString& parseError, Effects& fx) {
    const auto real = RealOf(model_.field(field));
    if (!real) fx.addMem(parseError);
    long double value = real.value_or(0);
    const long double fullScale = model_.RangeFullScale;
    if (value > fullScale) value = ReportOutOfRange(fullScale, fx);
    if (value < -fullScale) value = ReportOutOfRange(-fullScale, fx);
    return value;
}

long double ConfigEditor::ReportOutOfRange(long double limit, Effects& fx) {
    fx.beep();
    fx.addMem(text_(rows::OutOfRange));
    return limit;
}

void ConfigEditor::ExitScalingInput(Field field, Field other, const QString& parseError,
                                    Effects& fx) {
    long double value = ClampedInput(field, parseError, fx);
    // Compare what the field will show, not the unrounded value.
    value = RealOf(FormatGeneral(value)).value_or(value);
    // An unreadable partner never equals; the evaluation reports it.
    if (value == RealOf(model_.field(other))) {
        fx.beep();
        fx.addMem(text_(rows::InputsMustDiffer));
        value = value == 0 ? model_.RangeFullScale : 0;
    }
    model_.setField(field, FormatGeneral(value));
    Recalculate(fx);
}

void ConfigEditor::ExitDisplay(Field field, Effects& fx) {
    const auto real = RealOf(model_.field(field));
    if (!real) fx.addMem(text_(rows::InputError));
    std::int64_t value = real ? RoundHalfEven(*real) : 0;
    if (value > DisplayMax) value = DisplayMax;
    // No lower bound, but the text must stay an integer the evaluation can read.
    value = std::max<std::int64_t>(value, std::numeric_limits<std::int32_t>::min());
    model_.setField(field, QString::number(value));
    Recalculate(fx);
}

void ConfigEditor::ExitThreshold(Field field, Effects& fx) {
    const auto real = RealOf(model_.field(field));
    const std::int64_t value =
        std::clamp<std::int64_t>(real ? RoundHalfEven(*real) : 0, ThresholdMin, DisplayMax);
    const Field other = field == Field::RelaisOn ? Field::RelaisOff : Field::RelaisOn;
    if (model_.LimitMode == ModeInverted ||
        (model_.LimitMode == ModeNormal && BreaksNormalOrder(field, value, other)))
        model_.setField(other, QString::number(value));
    model_.setField(field, QString::number(value));
    Recalculate(fx);
    fx.clearMem();
}

// In the normal mode ON may not lie below OFF; the other field follows the edited one.
bool ConfigEditor::BreaksNormalOrder(Field field, std::int64_t value, Field other) const {
    const auto otherReal = RealOf(model_.field(other));
    if (!otherReal) return true;  // an unreadable partner is replaced by the new value
    const std::int64_t otherValue = RoundHalfEven(*otherReal);
    return field == Field::RelaisOn ? value < otherValue : value > otherValue;
}

// ---------------------------------------------------------------- buttons

void ConfigEditor::GrenzwertartClick(Effects& fx) {
    fx.clearMem();
    const auto step = std::find_if(std::begin(LimitModeCycle), std::end(LimitModeCycle),
                                   [&](const auto& s) { return model_.LimitMode == s.from; });
    if (step != std::end(LimitModeCycle)) {
        model_.LimitMode = step->to;
        if (step->exchange) std::swap(model_.RelaisOn, model_.RelaisOff);
        ReportLimitMode(step->onRow, step->offRow, fx);
    }
    Recalculate(fx);
}

// The memo lines of a new mode, with the thresholds as they are now.
void ConfigEditor::ReportLimitMode(int onRow, int offRow, Effects& fx) {
    fx.addMem(text_(rows::LimitHeading));
    if (onRow == rows::NotUsed) {
        fx.addMem(text_(rows::NotUsed));
        return;
    }
    fx.addMem(text_(onRow) + FormatThreshold(model_.RelaisOn, model_.DecimalPoint));
    fx.addMem(text_(offRow) + FormatThreshold(model_.RelaisOff, model_.DecimalPoint));
}

void ConfigEditor::polaritaetClick(Effects& fx) {
    model_.polaritaet = model_.polaritaet == PolaritySigned ? PolarityPositiveOnly : PolaritySigned;
    Recalculate(fx);
}

void ConfigEditor::DecimalPointChosen(int code, Effects& fx) {
    model_.DecimalPoint = code;
    Recalculate(fx);
}

Glyph ConfigEditor::LimitModeGlyph(const QString& mode) {
    if (mode == ModeNormal) return Glyph::gwnorm;
    if (mode == ModeInverted) return Glyph::gwinv;
    if (mode == ModeUnused) return Glyph::gwno;
    return Glyph::None;
}

void ConfigEditor::ApplyFirstStartDefaults(Effects& fx) {
    model_.SelectRange = 1;
    DecimalPointChosen(4, fx);
    const std::pair<Field, const char*> defaults[] = {
        {Field::Skalin1, "0"},     {Field::Skalin2, "20"}, {Field::Skalout1, "0"},
        {Field::Skalout2, "2000"}, {Field::Testin1, "10"},
    };
    for (const auto& [field, text] : defaults) model_.setField(field, text);
    model_.LimitMode = ModeNormal;
    UpdateRangeInfo();
    model_.setField(Field::Skalin2, FormatGeneral(model_.RangeFullScale));
    Recalculate(fx);
    session_.SignalOn = true;
    session_.PowerOn = true;
}

}  // namespace zmt

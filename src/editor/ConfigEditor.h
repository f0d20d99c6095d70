#pragma once

#include "editor/ConfigModel.h"
#include "editor/Effects.h"
#include "editor/Numbers.h"  // ConversionError
#include "language/Texts.h"

namespace zmt {

// The coefficient steps of the evaluation: ScaleSlope, ScaleOffset, DisplayAtZero,
// DisplayAtFullScale and SpanPer2000 from the scaling texts and the full scale. False when
// they cannot be computed (a text that is not a number, equal inputs, a result beyond the
// meter's integers); the values assigned before the failure stay.
bool EvaluateCoefficients(ConfigModel& model);

// The editing rules of the main window, without a window: every field exit, button and
// choice of the configuration editor works on the model and reports what the window
// must show besides the model (memo lines, beeps). All texts come from the language
// table in the session's current language at the moment they are produced.
//
// Operations that evaluate an unguarded value (a field text loaded from a file that is
// not a number) raise ConversionError; effects collected before that stay in `fx`.
class ConfigEditor {
  public:
    ConfigEditor(ConfigModel& model, SessionState& session, LanguageText& texts);

    ConfigModel& model() { return model_; }
    const ConfigModel& model() const { return model_; }
    SessionState& session() { return session_; }
    const SessionState& session() const { return session_; }
    // The language table in the session's current language.
    const Texts& wording() const { return text_; }
    const LanguageText& texts() const { return texts_; }
    LanguageText& texts() { return texts_; }

    // Applies the selected device type (unit, full scale; no match leaves both unchanged),
    // then puts UnitText on the unit labels and ComPortName on ComInfo, empty or not.
    void UpdateRangeInfo();
    // A device type chosen in SelectRange (index 0..5).
    void SelectRangeChange(int index, Effects& fx);
    // Derived values, test result, contact indicator, threshold order.
    void Recalculate(Effects& fx);
    // The exit rule of one entry field, then Recalculate.
    void FieldExit(Field field, Effects& fx);
    // Enter pressed in Testin1: the Testin1 exit rule without leaving the field.
    void Testin1Enter(Effects& fx) { FieldExit(Field::Testin1, fx); }
    // Click on Grenzwertart: the limit mode cycle.
    void GrenzwertartClick(Effects& fx);
    // Click on polaritaet: the polarity toggle.
    void polaritaetClick(Effects& fx);
    // Checking one of the decimal point radio buttons (code 0..4).
    void DecimalPointChosen(int code, Effects& fx);

    // A display integer's magnitude as text with the decimal comma for code `decimalPoint`.
    static QString FormatWithDecimalPoint(std::int64_t magnitude, int decimalPoint);

    // Radio button object name for a decimal point code ("DP4" for 0 ... "DP0" for 4);
    // empty for a code outside 0..4.
    static QString DecimalPointRadio(int code);

    // Glyph of a limit mode for Grenzwertart; None for a text that is no mode.
    static Glyph LimitModeGlyph(const QString& mode);

    // The model part of the first-start defaults: device type "20 mA", no decimal point,
    // 0 -> 0 and 20 -> 2000, test input 10, mode "gwnorm", both interface lines on.
    // The port choice is the caller's.
    void ApplyFirstStartDefaults(Effects& fx);

  private:
    std::int64_t TestDisplayValue(Effects& fx);
    void ShowContactState(std::uint64_t magnitude);
    void OrderThresholds();

    long double ClampedInput(Field field, const QString& parseError, Effects& fx);
    long double ReportOutOfRange(long double limit, Effects& fx);
    void ExitScalingInput(Field field, Field other, const QString& parseError, Effects& fx);
    void ExitDisplay(Field field, Effects& fx);
    void ExitThreshold(Field field, Effects& fx);
    bool BreaksNormalOrder(Field field, std::int64_t value, Field other) const;
    void ReportLimitMode(int onRow, int offRow, Effects& fx);

    ConfigModel& model_;
    SessionState& session_;
    LanguageText& texts_;
    Texts text_{texts_, session_.LanguageIndex};
};

}  // namespace zmt

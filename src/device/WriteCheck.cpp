#include "device/WriteCheck.h"

#include "editor/ConfigEditor.h"
#include "editor/Numbers.h"
#include "language/AddedRows.h"
#include "language/LanguageText.h"
#include "language/Texts.h"

namespace zmt {
namespace {

enum class Kind { Real, Integer };

struct EntryRule {
    Field field;
    Kind kind;
    int nameRow;
};

// In the order the meter's words are computed from them.
constexpr EntryRule kEntries[] = {
    {Field::Skalin1, Kind::Real, rows::EntryInput1},
    {Field::Skalout1, Kind::Integer, rows::EntryDisplay1},
    {Field::Skalin2, Kind::Real, rows::EntryInput2},
    {Field::Skalout2, Kind::Integer, rows::EntryDisplay2},
    {Field::RelaisOn, Kind::Integer, rows::EntryLimitOn},
    {Field::RelaisOff, Kind::Integer, rows::EntryLimitOff},
};

WriteProblem EntryProblem(const QString& text, Kind kind) {
    long double real = 0;
    if (!numbers::TryParseReal(text, real)) return WriteProblem::NotANumber;
    std::int32_t whole = 0;
    if (kind == Kind::Integer && !numbers::TryParseInteger(text, whole))
        return WriteProblem::NotAWholeNumber;
    return WriteProblem::None;
}

int NameRow(Field field) {
    for (const EntryRule& entry : kEntries)
        if (entry.field == field) return entry.nameRow;
    return rows::EntryInput1;
}

}  // namespace

WriteCheck CheckWritableConfiguration(const ConfigModel& model) {
    for (const EntryRule& entry : kEntries) {
        const QString& text = model.field(entry.field);
        if (const WriteProblem problem = EntryProblem(text, entry.kind);
            problem != WriteProblem::None)
            return {problem, entry.field, text.trimmed()};
    }
    if (model.RangeFullScale <= 0) return {WriteProblem::NoDeviceType, Field::Skalin1, {}};
    ConfigModel fresh = model;
    if (!EvaluateCoefficients(fresh) || fresh.DisplayAtZero != model.DisplayAtZero ||
        fresh.DisplayAtFullScale != model.DisplayAtFullScale)
        return {WriteProblem::MathError, Field::Skalin1, {}};
    return {};
}

QString WriteProblemLine(const WriteCheck& check, const LanguageText& texts, int languageIndex) {
    const Texts text(texts, languageIndex);
    switch (check.problem) {
        case WriteProblem::None:
            return {};
        case WriteProblem::NotANumber:
        case WriteProblem::NotAWholeNumber: {
            const int row = check.problem == WriteProblem::NotANumber ? rows::EntryNotANumber
                                                                      : rows::EntryNotAWholeNumber;
            return text(row).arg(text(NameRow(check.field)), check.text);
        }
        case WriteProblem::NoDeviceType:
            return text(rows::NoDeviceTypeChosen);
        case WriteProblem::MathError:
            return text(rows::MathError);
    }
    return {};
}

}  // namespace zmt

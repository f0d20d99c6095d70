#include "HelpLine.h"

#include <cstddef>

namespace zmt {

namespace {

constexpr HelpEvent Move = HelpEvent::MouseMove;
constexpr HelpEvent Focus = HelpEvent::FocusEntry;

// The bindings of the main window and of the port assignment window. The two threshold fields
// differ by event: the mouse-over texts add that the decimal point is ignored.
constexpr HelpLineEntry kHelpLine[] = {
    {Move, "Form1", HelpBinding::Clear, 0},
    {Move, "Panel2", HelpBinding::Clear, 0},
    {Move, "Label7", HelpBinding::Clear, 0},
    {Move, "Label9", HelpBinding::Clear, 0},
    {Move, "Label10", HelpBinding::Clear, 0},
    {Move, "Image1", HelpBinding::Clear, 0},
    {Move, "Skalierbox", HelpBinding::Clear, 0},
    {Move, "GrenzkontaktBox", HelpBinding::Clear, 0},
    {Move, "RangeBox", HelpBinding::Row, 41},
    {Move, "Typ", HelpBinding::Row, 41},
    {Move, "PunktBox", HelpBinding::Row, 42},
    {Move, "Image2", HelpBinding::Row, 42},
    {Move, "DP0", HelpBinding::Row, 42},
    {Move, "DP1", HelpBinding::Row, 42},
    {Move, "DP2", HelpBinding::Row, 42},
    {Move, "DP3", HelpBinding::Row, 42},
    {Move, "DP4", HelpBinding::Row, 42},
    {Move, "Skalin1", HelpBinding::Row, 51},
    {Move, "Skalin2", HelpBinding::Row, 52},
    {Move, "Skalout1", HelpBinding::Row, 53},
    {Move, "Skalout2", HelpBinding::Row, 54},
    {Move, "RelaisOn", HelpBinding::Row, 68},
    {Move, "RelaisOff", HelpBinding::Row, 69},
    {Move, "polaritaet", HelpBinding::ByPolarity, 0},
    {Move, "Grenzwertart", HelpBinding::ByLimitMode, 0},
    {Move, "Testin1", HelpBinding::Row, 56},
    {Move, "Testout1", HelpBinding::Row, 60},
    {Move, "kontaktbild", HelpBinding::Row, 80},
    {Move, "Mem", HelpBinding::Row, 55},
    {Move, "FileInfo", HelpBinding::Row, 40},
    {Move, "ComInfo", HelpBinding::Row, 62},
    {Move, "switchpower", HelpBinding::Row, 84},
    {Move, "switchsignal", HelpBinding::Row, 85},
    {Move, "Readbutt", HelpBinding::Row, 81},
    {Move, "Skalbutt", HelpBinding::Row, 58},
    {Move, "KalParButt", HelpBinding::Row, 59},
    {Move, "Kalbutt", HelpBinding::Row, 57},
    {Focus, "Skalin1", HelpBinding::Row, 51},
    {Focus, "Skalin2", HelpBinding::Row, 52},
    {Focus, "Skalout1", HelpBinding::Row, 53},
    {Focus, "Skalout2", HelpBinding::Row, 54},
    {Focus, "RelaisOn", HelpBinding::Row, 66},
    {Focus, "RelaisOff", HelpBinding::Row, 67},
    {Focus, "Testin1", HelpBinding::Row, 56},
    {Focus, "Readbutt", HelpBinding::Row, 81},
    {Focus, "Skalbutt", HelpBinding::Row, 58},
    {Focus, "KalParButt", HelpBinding::Row, 59},
    {Focus, "Kalbutt", HelpBinding::Row, 57},
    // The port assignment window.
    {Move, "PortAssign", HelpBinding::Clear, 0},
    {Move, "PortLabel1", HelpBinding::Row, rows::HelpPortChoice},
    {Move, "PortLabel2", HelpBinding::Row, rows::HelpPortChoice},
    {Move, "PortLabel3", HelpBinding::Row, rows::HelpPortChoice},
    {Move, "PortLabel4", HelpBinding::Row, rows::HelpPortChoice},
    {Move, "PortChoice1", HelpBinding::Row, rows::HelpPortChoice},
    {Move, "PortChoice2", HelpBinding::Row, rows::HelpPortChoice},
    {Move, "PortChoice3", HelpBinding::Row, rows::HelpPortChoice},
    {Move, "PortChoice4", HelpBinding::Row, rows::HelpPortChoice},
    {Move, "PortTarget1", HelpBinding::Row, rows::HelpPortTarget},
    {Move, "PortTarget2", HelpBinding::Row, rows::HelpPortTarget},
    {Move, "PortTarget3", HelpBinding::Row, rows::HelpPortTarget},
    {Move, "PortTarget4", HelpBinding::Row, rows::HelpPortTarget},
    {Move, "PortRefresh", HelpBinding::Row, rows::HelpPortRefresh},
    {Move, "PortFind", HelpBinding::Row, rows::HelpPortFind},
    {Move, "PortFindAsLabel", HelpBinding::Row, rows::HelpPortFindAs},
    {Move, "PortFindAs", HelpBinding::Row, rows::HelpPortFindAs},
    {Move, "PortStopSearch", HelpBinding::Row, rows::HelpPortStopSearch},
    {Move, "PortOk", HelpBinding::Row, rows::HelpPortOk},
    {Move, "PortCancel", HelpBinding::Row, rows::HelpPortCancel},
    {Focus, "PortChoice1", HelpBinding::Row, rows::HelpPortChoice},
    {Focus, "PortChoice2", HelpBinding::Row, rows::HelpPortChoice},
    {Focus, "PortChoice3", HelpBinding::Row, rows::HelpPortChoice},
    {Focus, "PortChoice4", HelpBinding::Row, rows::HelpPortChoice},
    {Focus, "PortRefresh", HelpBinding::Row, rows::HelpPortRefresh},
    {Focus, "PortFind", HelpBinding::Row, rows::HelpPortFind},
    {Focus, "PortFindAs", HelpBinding::Row, rows::HelpPortFindAs},
    {Focus, "PortStopSearch", HelpBinding::Row, rows::HelpPortStopSearch},
    {Focus, "PortOk", HelpBinding::Row, rows::HelpPortOk},
    {Focus, "PortCancel", HelpBinding::Row, rows::HelpPortCancel},
};

struct StateRow {
    const char16_t* state;
    int row;
};

constexpr StateRow kPolarityRows[] = {{u"+ / -", 70}, {u"+", 71}};
constexpr StateRow kLimitModeRows[] = {{u"gwnorm", 72}, {u"gwinv", 73}, {u"gwno", 74}};

template <std::size_t N>
std::optional<int> RowForState(const StateRow (&rows)[N], const QString& state) {
    for (const StateRow& candidate : rows) {
        if (state == QString::fromUtf16(candidate.state)) return candidate.row;
    }
    return std::nullopt;
}

std::optional<int> RowOf(const HelpLineEntry& entry, const QString& polarityCaption,
                         const QString& limitMode) {
    switch (entry.binding) {
        case HelpBinding::Row:
            return entry.row;
        case HelpBinding::ByPolarity:
            return RowForState(kPolarityRows, polarityCaption);
        case HelpBinding::ByLimitMode:
            return RowForState(kLimitModeRows, limitMode);
        case HelpBinding::Clear:
            break;
    }
    return std::nullopt;
}

}  // namespace

const HelpLineEntry* FindHelpLineEntry(HelpEvent event, const QString& controlName) {
    for (const HelpLineEntry& entry : kHelpLine) {
        if (entry.event == event && controlName == QLatin1String(entry.control)) return &entry;
    }
    return nullptr;
}

std::optional<QString> HelpLineText(HelpEvent event, const QString& controlName,
                                    const QString& polarityCaption, const QString& limitMode,
                                    const LanguageText& texts, int languageIndex) {
    const HelpLineEntry* entry = FindHelpLineEntry(event, controlName);
    if (entry == nullptr) return std::nullopt;
    if (entry->binding == HelpBinding::Clear) return QString();
    const std::optional<int> row = RowOf(*entry, polarityCaption, limitMode);
    if (!row) return std::nullopt;
    return texts.text(*row, languageIndex);
}

}  // namespace zmt

#include "language/HelpLine.h"

#include <cstddef>

namespace zmt {

namespace {

constexpr HelpEvent Move = HelpEvent::MouseMove;
constexpr HelpEvent Focus = HelpEvent::FocusEntry;

// The bindings of the main window, the port assignment window and the series window. The two
// threshold fields differ by event: the mouse-over texts add that the decimal point is ignored.
constexpr HelpLineEntry kHelpLine[] = {
    {Move, "Form1", HelpBinding::Clear, 0},
    {Move, "Panel2", HelpBinding::Clear, 0},
    {Move, "Label7", HelpBinding::Clear, 0},
    {Move, "Label9", HelpBinding::Clear, 0},
    {Move, "Label10", HelpBinding::Clear, 0},
    {Move, "Image1", HelpBinding::Clear, 0},
    {Move, "Skalierbox", HelpBinding::Clear, 0},
    {Move, "GrenzkontaktBox", HelpBinding::Clear, 0},
    {Move, "RangeBox", HelpBinding::Row, rows::HelpDeviceType},
    {Move, "Typ", HelpBinding::Row, rows::HelpDeviceType},
    {Move, "PunktBox", HelpBinding::Row, rows::HelpDecimalPoint},
    {Move, "Image2", HelpBinding::Row, rows::HelpDecimalPoint},
    {Move, "DP0", HelpBinding::Row, rows::HelpDecimalPoint},
    {Move, "DP1", HelpBinding::Row, rows::HelpDecimalPoint},
    {Move, "DP2", HelpBinding::Row, rows::HelpDecimalPoint},
    {Move, "DP3", HelpBinding::Row, rows::HelpDecimalPoint},
    {Move, "DP4", HelpBinding::Row, rows::HelpDecimalPoint},
    {Move, "Skalin1", HelpBinding::Row, rows::HelpInput1},
    {Move, "Skalin2", HelpBinding::Row, rows::HelpInput2},
    {Move, "Skalout1", HelpBinding::Row, rows::HelpDisplay1},
    {Move, "Skalout2", HelpBinding::Row, rows::HelpDisplay2},
    {Move, "RelaisOn", HelpBinding::Row, rows::HelpLimitOn},
    {Move, "RelaisOff", HelpBinding::Row, rows::HelpLimitOff},
    {Move, "polaritaet", HelpBinding::ByPolarity, 0},
    {Move, "Grenzwertart", HelpBinding::ByLimitMode, 0},
    {Move, "Testin1", HelpBinding::Row, rows::HelpTestInput},
    {Move, "Testout1", HelpBinding::Row, rows::HelpTestDisplay},
    {Move, "kontaktbild", HelpBinding::Row, rows::HelpContactImage},
    {Move, "Mem", HelpBinding::Row, rows::HelpMessages},
    {Move, "FileInfo", HelpBinding::Row, rows::HelpFileInfo},
    {Move, "ComInfo", HelpBinding::Row, rows::HelpComInfo},
    {Move, "switchpower", HelpBinding::Row, rows::HelpPowerSwitch},
    {Move, "switchsignal", HelpBinding::Row, rows::HelpSignalSwitch},
    {Move, "Readbutt", HelpBinding::Row, rows::HelpRead},
    {Move, "Skalbutt", HelpBinding::Row, rows::HelpWrite},
    {Move, "KalParButt", HelpBinding::Row, rows::HelpCalibrateAndWrite},
    {Move, "Kalbutt", HelpBinding::Row, rows::HelpCalibrate},
    {Focus, "Skalin1", HelpBinding::Row, rows::HelpInput1},
    {Focus, "Skalin2", HelpBinding::Row, rows::HelpInput2},
    {Focus, "Skalout1", HelpBinding::Row, rows::HelpDisplay1},
    {Focus, "Skalout2", HelpBinding::Row, rows::HelpDisplay2},
    {Focus, "RelaisOn", HelpBinding::Row, rows::HelpLimitOnEntry},
    {Focus, "RelaisOff", HelpBinding::Row, rows::HelpLimitOffEntry},
    {Focus, "Testin1", HelpBinding::Row, rows::HelpTestInput},
    {Focus, "Readbutt", HelpBinding::Row, rows::HelpRead},
    {Focus, "Skalbutt", HelpBinding::Row, rows::HelpWrite},
    {Focus, "KalParButt", HelpBinding::Row, rows::HelpCalibrateAndWrite},
    {Focus, "Kalbutt", HelpBinding::Row, rows::HelpCalibrate},
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
    // The series window.
    {Move, "SeriesForm", HelpBinding::Clear, 0},
    {Move, "SeriesConfigurationLabel", HelpBinding::Row, rows::SeriesHelpSource},
    {Move, "SeriesFromEditor", HelpBinding::Row, rows::SeriesHelpSource},
    {Move, "SeriesFromFile", HelpBinding::Row, rows::SeriesHelpSource},
    {Move, "SeriesChooseFile", HelpBinding::Row, rows::SeriesHelpSource},
    {Move, "SeriesSummary", HelpBinding::Row, rows::SeriesHelpSource},
    {Move, "SeriesVerify", HelpBinding::Row, rows::SeriesHelpVerify},
    {Move, "SeriesSheets", HelpBinding::Row, rows::SeriesHelpSheets},
    {Move, "SeriesSheetFolder", HelpBinding::Row, rows::SeriesHelpSheets},
    {Move, "SeriesChooseFolder", HelpBinding::Row, rows::SeriesHelpSheets},
    {Move, "SeriesStart", HelpBinding::Row, rows::SeriesHelpStart},
    {Move, "SeriesStop", HelpBinding::Row, rows::SeriesHelpStop},
    {Move, "SeriesResult", HelpBinding::Row, rows::SeriesHelpResult},
    {Move, "SeriesStatus", HelpBinding::Row, rows::SeriesHelpResult},
    {Move, "SeriesPassed", HelpBinding::Row, rows::SeriesHelpResult},
    {Move, "SeriesFailed", HelpBinding::Row, rows::SeriesHelpResult},
    {Move, "SeriesUnits", HelpBinding::Row, rows::SeriesHelpUnits},
    {Focus, "SeriesFromEditor", HelpBinding::Row, rows::SeriesHelpSource},
    {Focus, "SeriesFromFile", HelpBinding::Row, rows::SeriesHelpSource},
    {Focus, "SeriesChooseFile", HelpBinding::Row, rows::SeriesHelpSource},
    {Focus, "SeriesVerify", HelpBinding::Row, rows::SeriesHelpVerify},
    {Focus, "SeriesSheets", HelpBinding::Row, rows::SeriesHelpSheets},
    {Focus, "SeriesSheetFolder", HelpBinding::Row, rows::SeriesHelpSheets},
    {Focus, "SeriesChooseFolder", HelpBinding::Row, rows::SeriesHelpSheets},
    {Focus, "SeriesStart", HelpBinding::Row, rows::SeriesHelpStart},
    {Focus, "SeriesStop", HelpBinding::Row, rows::SeriesHelpStop},
    {Focus, "SeriesUnits", HelpBinding::Row, rows::SeriesHelpUnits},
};

struct StateRow {
    const char16_t* state;
    int row;
};

constexpr StateRow kPolarityRows[] = {{u"+ / -", rows::HelpPolaritySigned},
                                      {u"+", rows::HelpPolarityPositiveOnly}};
constexpr StateRow kLimitModeRows[] = {{u"gwnorm", rows::HelpLimitModeAbove},
                                       {u"gwinv", rows::HelpLimitModeBelow},
                                       {u"gwno", rows::HelpLimitModeNotUsed}};

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

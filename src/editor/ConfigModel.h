#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zmt {

// The entry fields of the configuration. Their texts are held exactly as the fields show
// them (right-aligned, blank-padded), because files store those texts.
enum class Field { Skalin1, Skalout1, Skalin2, Skalout2, Testin1, RelaisOn, RelaisOff };

// The pictures shown by the two glyph buttons of the main window.
enum class Glyph { None, gwnorm, gwinv, gwno, kontaktonbild, kontaktoffbild, kontaktnobild };

struct DeviceType {
    const char* itemText;  // text of the SelectRange item
    const char* unitText;  // UnitText, with its trailing blank
    double fullScale;      // RangeFullScale
};

// The captions of the polarity button and the limit modes, as the files store them.
inline const QString PolaritySigned = QStringLiteral("+ / -");
inline const QString PolarityPositiveOnly = QStringLiteral("+");
inline const QString ModeNormal = QStringLiteral("gwnorm");   // closed above the limit
inline const QString ModeInverted = QStringLiteral("gwinv");  // closed below the limit
inline const QString ModeUnused = QStringLiteral("gwno");     // the contact is not used

// The six device types; the position is the stored index.
extern const std::array<DeviceType, 6> DeviceTypes;
// The type at a stored index; null when none is chosen (-1) or the index is unknown.
const DeviceType* DeviceTypeAt(int index);

inline constexpr int EntryFieldWidth = 5;  // Skalin1 .. RelaisOff
inline constexpr int TestoutWidth = 6;     // Testout1

// Right-aligns a text in a field of the given width with blanks; a longer text is kept whole.
QString PadField(const QString& text, int width = EntryFieldWidth);

// One configuration of the meter plus the values derived from it.
struct ConfigModel {
    // Field texts, as the fields show them.
    QString Skalin1 = "    0";
    QString Skalout1 = "    0";
    QString Skalin2 = "   20";
    QString Skalout2 = " 2000";
    QString Testin1 = "   20";
    QString RelaisOn = " 2000";
    QString RelaisOff = " 2000";
    QString Testout1;  // the test result, six characters

    int SelectRange = -1;           // selected device type item, -1 = none selected
    QString polaritaet = "+ / -";   // caption of the polarity button: "+ / -" or "+"
    std::int32_t DecimalPoint = 0;  // 0..3 digits after the point, 4 = no point
    QString LimitMode = "gwnorm";   // "gwnorm", "gwinv" or "gwno"

    // Kept while no device type is selected; empty and 0 at process start.
    QString UnitText;
    double RangeFullScale = 0;
    // What the unit labels Einheit1..3 show: their design caption until UpdateRangeInfo.
    QString UnitCaption = "mA";

    // Derived by Recalculate.
    double ScaleSlope = 0;
    std::int32_t ScaleOffset = 0;
    std::int32_t DisplayAtZero = 0;
    std::int32_t DisplayAtFullScale = 0;
    double SpanPer2000 = 0;

    // Scratch values shared by all windows; nothing relies on what another step left here.
    std::int32_t WorkInt = 0;
    double WorkReal = 0;

    // What the two glyph buttons show.
    Glyph GrenzwertartGlyph = Glyph::None;
    Glyph kontaktbildGlyph = Glyph::None;

    QString& field(Field f);
    const QString& field(Field f) const;
    // Sets a field's text the way the masked field would hold it (padded to its width).
    void setField(Field f, const QString& text) { field(f) = PadField(text); }

    bool operator==(const ConfigModel&) const = default;
};

// Port choice, interface lines, language and operation flags: the rest of the shared state.
struct SessionState {
    QString ComPortName;              // "COM1".."COM4", empty until chosen
    std::int32_t ComPortNumber = 1;   // the port is always opened by this number
    int CheckedComItem = 1;           // which of COM11..COM41 is checked in the port menu
    bool PowerOn = false;             // DTR: the interface supplies the meter
    bool SignalOn = false;            // RTS: the calibration signal reaches the meter
    std::int32_t LanguageIndex = 0;   // 0 German, 1 English
    QString ComInfoCaption = "COM1";  // what ComInfo shows: set by UpdateRangeInfo
    QString LoadedFileName;
    bool CalibrateFlag = false;
    bool WriteFlag = false;
    // The next device operation reads the meter and compares it with the configuration,
    // writing nothing (set with the other two cleared).
    bool CompareFlag = false;

    bool operator==(const SessionState&) const = default;
};

}  // namespace zmt

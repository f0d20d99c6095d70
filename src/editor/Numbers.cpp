#include "editor/Numbers.h"

#include <QLocale>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace zmt::numbers {
namespace {

constexpr auto Int64Max = std::numeric_limits<std::int64_t>::max();
// Largest long double below 2^63: every value under it converts to int64 exactly.
constexpr long double Int64Limit = 9223372036854775808.0L;

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QString DecimalSeparator() {
    return QLocale().decimalPoint();
}

// Consumes a run of digits at `pos` into `out`; returns how many there were.
int TakeDigits(const QString& text, qsizetype& pos, std::string& out) {
    int count = 0;
    for (; pos < text.size() && IsAsciiDigit(text[pos]); ++pos, ++count)
        out += static_cast<char>(text[pos].unicode());
    return count;
}

void TakeSign(const QString& text, qsizetype& pos, std::string& out) {
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        out += static_cast<char>(text[pos++].unicode());
}

bool TakeExponent(const QString& text, qsizetype& pos, std::string& out) {
    if (pos >= text.size() || (text[pos] != u'e' && text[pos] != u'E')) return true;
    out += 'e';
    ++pos;
    TakeSign(text, pos, out);
    return TakeDigits(text, pos, out) > 0;
}

// The length of the decimal separator at `pos`, 0 when there is none. A file or a typed
// value may come from a system with the other separator; the program never writes group
// separators, so either one can only be the decimal point.
qsizetype SeparatorAt(const QString& text, qsizetype pos) {
    if (pos >= text.size()) return 0;
    if (text[pos] == u'.' || text[pos] == u',') return 1;
    const QString local = DecimalSeparator();
    return text.mid(pos, local.size()) == local ? local.size() : 0;
}

// Rewrites a real with either decimal separator into the C form ("-4,5e3" -> "-4.5e3");
// empty when the text is not a complete number.
std::string ToCNumber(const QString& text) {
    std::string out;
    qsizetype pos = 0;
    TakeSign(text, pos, out);
    int digits = TakeDigits(text, pos, out);
    if (const qsizetype separator = SeparatorAt(text, pos); separator > 0) {
        out += '.';
        pos += separator;
        digits += TakeDigits(text, pos, out);
    }
    if (digits == 0 || !TakeExponent(text, pos, out) || pos != text.size()) return {};
    return out;
}

std::int64_t SaturateToInt64(long double whole) {
    if (std::isnan(whole)) return 0;
    if (whole >= Int64Limit) return Int64Max;
    if (whole <= -Int64Limit) return -Int64Max;
    return static_cast<std::int64_t>(whole);
}

struct Digits {
    std::string mantissa;  // significant digits, no trailing zeros
    int exponent = 0;      // decimal exponent of the first digit
};

Digits SignificantDigits(long double magnitude) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14Le", magnitude);
    Digits d;
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (*p != '.') d.mantissa += *p;
    d.exponent = std::atoi(p + 1);
    while (d.mantissa.size() > 1 && d.mantissa.back() == '0') d.mantissa.pop_back();
    return d;
}

QString FixedNotation(const Digits& d, const QString& separator) {
    QString integerPart, fraction;
    if (d.exponent < 0) {
        integerPart = "0";
        fraction = QString(-d.exponent - 1, u'0') + QString::fromStdString(d.mantissa);
    } else {
        const auto mantissa = QString::fromStdString(d.mantissa);
        integerPart = mantissa.left(d.exponent + 1).leftJustified(d.exponent + 1, u'0');
        fraction = mantissa.mid(d.exponent + 1);
    }
    return fraction.isEmpty() ? integerPart : integerPart + separator + fraction;
}

QString ScientificNotation(const Digits& d, const QString& separator) {
    QString text = QString(QChar(d.mantissa[0]));
    if (d.mantissa.size() > 1) text += separator + QString::fromStdString(d.mantissa.substr(1));
    return text + "E" + QString::number(d.exponent);
}

}  // namespace

bool TryParseReal(const QString& text, long double& value) {
    const std::string cNumber = ToCNumber(text.trimmed());
    if (cNumber.empty()) return false;
    errno = 0;
    const long double parsed = std::strtold(cNumber.c_str(), nullptr);
    // A value beyond the range of the type is not a number the program can work with.
    if (errno == ERANGE && std::isinf(parsed)) return false;
    value = parsed;
    return true;
}

bool TryParseInteger(const QString& text, std::int32_t& value) {
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == u' ') ++pos;
    std::string digits;
    TakeSign(text, pos, digits);
    if (TakeDigits(text, pos, digits) == 0 || pos != text.size()) return false;
    errno = 0;
    const long long parsed = std::strtoll(digits.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < std::numeric_limits<std::int32_t>::min() ||
        parsed > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(parsed);
    return true;
}

long double ParseReal(const QString& text) {
    long double value = 0;
    if (!TryParseReal(text, value))
        throw ConversionError(
            QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
    return value;
}

std::int32_t ParseInteger(const QString& text) {
    std::int32_t value = 0;
    if (!TryParseInteger(text, value))
        throw ConversionError(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return value;
}

QString FormatGeneral(long double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    const Digits d = SignificantDigits(std::fabs(value));
    const QString separator = DecimalSeparator();
    // Beyond 15 integer digits the value is no longer exact in 15 digits; below 0.00001
    // fixed notation would bury the digits behind zeros.
    const bool fixed = d.exponent >= -5 && d.exponent < 15;
    const QString magnitude =
        fixed ? FixedNotation(d, separator) : ScientificNotation(d, separator);
    return value < 0 ? "-" + magnitude : magnitude;
}

std::int64_t RoundHalfEven(long double value) {
    // The default floating point environment rounds to nearest, ties to even.
    return SaturateToInt64(std::nearbyintl(value));
}

std::int64_t AddHalfTruncate(long double value) {
    return SaturateToInt64(std::truncl(value + 0.5L));
}

}  // namespace zmt::numbers

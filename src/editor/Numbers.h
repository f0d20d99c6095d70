#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace zmt {

// Raised where a value is parsed without a guard; the application's error display shows
// its message ("'abc' is not a valid floating point value").
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace numbers {

// The real of a text: "." or "," (or the locale's own separator) as the decimal point,
// whatever the locale, surrounding blanks ignored, optional sign and exponent. False when
// the text is not a number, also when it holds more than one separator.
bool TryParseReal(const QString& text, long double& value);

// The integer of a text: leading blanks and a sign allowed, decimal digits only.
bool TryParseInteger(const QString& text, std::int32_t& value);

// As above, raising ConversionError when the text is not a number.
long double ParseReal(const QString& text);
std::int32_t ParseInteger(const QString& text);

// General format: shortest text with up to 15 significant digits, no trailing zeros,
// the locale's decimal separator (20 -> "20", 4.5 -> "4,5" under a German locale).
QString FormatGeneral(long double value);

// Nearest integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Used for editor values and the operator's typed reading.
std::int64_t RoundHalfEven(long double value);

// Add 0.5, then truncate toward zero (-3.7 -> -3). Used for every word computed for the meter.
std::int64_t AddHalfTruncate(long double value);

}  // namespace numbers
}  // namespace zmt

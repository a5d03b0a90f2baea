#pragma once
// Number texts as the program shows and stores them: format pictures such as "0", "#", "00",
// "0.0", "0.000", "0.0000", halves rounded away from zero, no thousands separator, and the decimal
// separator "," that the program uses for the whole run.
#include <QByteArray>
#include <QString>

namespace grx {

inline constexpr QChar kDecimalSeparator = u',';

// Formats value with a picture: the '0's before the point give the least number of integer digits
// ('#' alone allows none, so 0 gives an empty text), the characters after the point the number of
// decimals. A value that is not a finite number gives "NAN". A result that rounds to zero carries
// no minus sign.
QString formatFloat(double value, QStringView picture, QChar separator = kDecimalSeparator);

// The same text appended to 8-bit text (files that are written as ASCII).
void appendFloat(QByteArray& out, double value, QStringView picture, char separator = ',');

// Parses a decimal number in the program's own forms: optional blanks and sign, digits with either
// "," or "." as the decimal separator, optional exponent. ok is false for anything else.
double parseDecimal(QStringView text, bool* ok);

// Parses a whole number (optional blanks and sign); ok is false for anything else or overflow.
int parseInteger(QStringView text, bool* ok);

}  // namespace grx

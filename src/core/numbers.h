// Number reading and printing shared by every file the program reads and writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gencampi {

// Free numeric print form: a sign position ("-" or one blank), the number, one
// trailing blank. Doubles take at most 15 significant digits in the shortest general
// form, with no zero before the decimal point ("0.25" is written " .25 ").
std::string formato(double v);
std::string formato(int v);
std::string formato(long long v);

// Leading-number rule: blanks and tabs are skipped anywhere, then the longest prefix
// that is a decimal number (sign, digits, point, exponent) is converted, correctly
// rounded. No digits gives 0. The result may be infinite when the text overflows.
double valore_iniziale(std::string_view s);

// A whole field that must be a number literal and nothing else; nullopt otherwise.
// The result may be infinite when the literal overflows.
std::optional<double> letterale(std::string_view s);

// Rounds a count to the nearest whole number, a half to the even neighbour; nullopt
// when the result does not fit a 16-bit Integer.
std::optional<int> conteggio(double v);

// Removes blanks (code 32 only, never tabs) at both ends.
std::string trim(std::string_view s);

}  // namespace gencampi

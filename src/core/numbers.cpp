#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace gencampi {

// The numbers are formatted and parsed by the C++ library's exact conversions, never by
// the C library: the C runtimes of the platforms the program runs on round some doubles
// differently and spell infinities and NaNs differently, and the files must be the same
// bytes wherever they are written.
std::string formato(double v) {
  if (v == 0) v = 0;  // negative zero prints as 0
  // The shortest general form with 15 significant digits, in capitals ("1.5E+16",
  // "INF", "-NAN" for a NaN with its sign bit set).
  char buf[64];
  const std::to_chars_result r =
      std::to_chars(buf, buf + sizeof buf, v < 0 ? -v : v, std::chars_format::general, 15);
  std::string cifre(buf, r.ptr);
  for (char& c : cifre)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (cifre.size() > 1 && cifre[0] == '0' && cifre[1] == '.') cifre.erase(0, 1);
  std::string out(1, v < 0 ? '-' : ' ');
  out.append(cifre);
  out.push_back(' ');
  return out;
}

std::string formato(long long v) {
  std::string out(1, v < 0 ? '-' : ' ');
  out.append(std::to_string(v < 0 ? -v : v));
  out.push_back(' ');
  return out;
}

std::string formato(int v) {
  return formato(static_cast<long long>(v));
}

namespace {

bool cifra(char c) {
  return c >= '0' && c <= '9';
}

// Length of the longest number literal at the front of s (0 when none).
std::size_t prefisso_numero(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t cifre = 0;
  while (i < s.size() && cifra(s[i])) ++i, ++cifre;
  if (i < s.size() && s[i] == '.') {
    std::size_t j = i + 1, dec = 0;
    while (j < s.size() && cifra(s[j])) ++j, ++dec;
    if (cifre + dec > 0) {
      i = j;
      cifre += dec;
    }
  }
  if (cifre == 0) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && cifra(s[j])) {
      while (j < s.size() && cifra(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

// Whether a literal out of the range of a double is too large for it rather than too
// small: its leading nonzero digit stands at a non-negative power of ten. An overflow
// needs a power of ten above 300 and an underflow one below -300, so this tells them
// apart.
bool troppo_grande(std::string_view lit) {
  long long e10 = 0, decimali = 0;
  bool visto = false, punto = false;
  std::size_t i = 0;
  for (; i < lit.size() && lit[i] != 'E' && lit[i] != 'e'; ++i) {
    if (lit[i] == '.') {
      punto = true;
      continue;
    }
    if (punto) ++decimali;
    if (!visto && lit[i] != '0') {
      visto = true;
      e10 = punto ? -decimali : 0;
    } else if (visto && !punto) {
      ++e10;
    }
  }
  long long esponente = 0;
  bool negativo = false;
  if (i < lit.size()) {
    ++i;
    if (i < lit.size() && (lit[i] == '+' || lit[i] == '-')) negativo = lit[i++] == '-';
    for (; i < lit.size(); ++i)
      if (esponente < 1000000000) esponente = esponente * 10 + (lit[i] - '0');
  }
  return e10 + (negativo ? -esponente : esponente) >= 0;
}

double converti(std::string_view lit) {
  const bool meno = !lit.empty() && lit[0] == '-';
  if (!lit.empty() && (lit[0] == '+' || lit[0] == '-')) lit.remove_prefix(1);
  double v = 0;
  const std::from_chars_result r = std::from_chars(lit.data(), lit.data() + lit.size(), v);
  // Out of range: infinity when too large, zero when too small, as the correctly rounded
  // conversion gives.
  if (r.ec == std::errc::result_out_of_range) v = troppo_grande(lit) ? HUGE_VAL : 0.0;
  return meno ? -v : v;
}

}  // namespace

double valore_iniziale(std::string_view s) {
  std::string compatto;
  compatto.reserve(s.size());
  for (char c : s)
    if (c != ' ' && c != '\t') compatto.push_back(c);
  std::size_t n = prefisso_numero(compatto);
  if (n == 0) return 0;
  return converti(std::string_view(compatto).substr(0, n));
}

std::optional<double> letterale(std::string_view s) {
  std::size_t n = prefisso_numero(s);
  if (n == 0 || n != s.size()) return std::nullopt;
  return converti(s);
}

std::optional<int> conteggio(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  double r = std::nearbyint(v);
  if (r < -32768 || r > 32767) return std::nullopt;
  return static_cast<int>(r);
}

std::string trim(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && s[a] == ' ') ++a;
  while (b > a && s[b - 1] == ' ') --b;
  return std::string(s.substr(a, b - a));
}

}  // namespace gencampi

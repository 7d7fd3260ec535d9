#include "core/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace gencampi {

std::string formato(double v) {
  if (v == 0) v = 0;  // negative zero prints as 0
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", v < 0 ? -v : v);
  const char* cifre = buf;
  if (cifre[0] == '0' && cifre[1] == '.') ++cifre;
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

double converti(std::string_view lit) {
  std::string t(lit);
  return std::strtod(t.c_str(), nullptr);
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

#include "core/run_record.h"

#include <chrono>

#include "core/numbers.h"
#include "core/textfile.h"

namespace gencampi {

namespace {

std::string due_cifre(unsigned v) {
  return std::string(1, char('0' + v / 10)) + char('0' + v % 10);
}

std::string esadecimale(std::uint64_t v) {
  const char* cifre = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = cifre[v & 15];
  return s;
}

std::optional<std::uint64_t> da_esadecimale(const std::string& s) {
  if (s.size() != 16) return std::nullopt;
  std::uint64_t v = 0;
  for (char c : s) {
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (d < 0) return std::nullopt;
    v = v << 4 | static_cast<std::uint64_t>(d);
  }
  return v;
}

std::optional<long long> intero_lungo(const std::string& s) {
  if (s.empty() || s.size() > 18) return std::nullopt;
  long long v = 0;
  std::size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return std::nullopt;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
  }
  return s[0] == '-' ? -v : v;
}

}  // namespace

std::string file_registro(const Dirs& d) {
  return file_in(d.dirprogra, "gencampi.run");
}

std::vector<std::pair<std::string, std::string>> uscite(const Dirs& d) {
  std::vector<std::pair<std::string, std::string>> v;
  for (const char* n : {"campi.txt", "campi.tmp", "campi2.tmp"})
    v.emplace_back(std::string("progra/") + n, file_in(d.dirprogra, n));
  for (const char* n : {"punti.dis", "campi.dis", "triang.txt"})
    v.emplace_back(std::string("lavoro/") + n, file_in(d.dirlavoro, n));
  v.emplace_back("impostazioni/tirnel.ini",
                 file_in(file_in(d.dirroot, "impostazioni"), "tirnel.ini"));
  return v;
}

std::vector<RunRecord::Output> stato_uscite(const Dirs& d) {
  std::vector<RunRecord::Output> v;
  for (const auto& [nome, path] : uscite(d)) {
    RunRecord::Output o;
    o.nome = nome;
    if (std::optional<std::string> t = leggi_tutto(path)) {
      o.presente = true;
      o.byte = static_cast<long long>(t->size());
      o.impronta = impronta(*t);
    }
    v.push_back(o);
  }
  return v;
}

std::uint64_t impronta(const std::string& byte) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : byte) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::string adesso_utc() {
  using namespace std::chrono;
  const auto t = floor<seconds>(system_clock::now());
  const auto giorno = floor<days>(t);
  const year_month_day ymd{giorno};
  const hh_mm_ss hms{t - giorno};
  return std::to_string(static_cast<int>(ymd.year())) + "-" +
         due_cifre(static_cast<unsigned>(ymd.month())) + "-" +
         due_cifre(static_cast<unsigned>(ymd.day())) + "T" +
         due_cifre(static_cast<unsigned>(hms.hours().count())) + ":" +
         due_cifre(static_cast<unsigned>(hms.minutes().count())) + ":" +
         due_cifre(static_cast<unsigned>(hms.seconds().count())) + "Z";
}

std::string testo_registro(const RunRecord& r) {
  std::string t = "registro gencampi 1\r\n";
  auto riga = [&t](const std::string& chiave, const std::string& valore) {
    t += chiave + " " + valore + "\r\n";
  };
  riga("inizio", r.inizio);
  riga("processo", std::to_string(r.processo));
  riga("comando", r.comando);
  riga("lavoro", r.dirlavoro);
  if (!r.fine.empty()) {
    riga("fine", r.fine);
    riga("stato", std::to_string(r.stato));
  }
  // A message holds no line end of its own; any other control character is kept out
  // of the record too, so that it stays one item a line.
  for (std::string m : r.messaggi) {
    for (char& c : m)
      if (static_cast<unsigned char>(c) < 32) c = ' ';
    riga("messaggio", m);
  }
  for (const RunRecord::Output& o : r.file) {
    if (!o.presente)
      riga("file", o.nome + " assente");
    else
      riga("file", o.nome + (o.scritto ? " scritto " : " invariato ") + std::to_string(o.byte) +
                       " " + esadecimale(o.impronta));
  }
  return t;
}

std::optional<RunRecord> leggi_registro(const std::string& path) {
  std::optional<std::string> testo = leggi_tutto(path);
  if (!testo) return std::nullopt;
  Reader in(std::move(*testo));
  std::optional<std::string> prima = in.riga();
  if (!prima || *prima != "registro gencampi 1") return std::nullopt;
  RunRecord r;
  while (std::optional<std::string> riga = in.riga()) {
    const std::size_t sp = riga->find(' ');
    const std::string chiave = riga->substr(0, sp);
    const std::string valore = sp == std::string::npos ? "" : riga->substr(sp + 1);
    if (chiave == "inizio") {
      r.inizio = valore;
    } else if (chiave == "fine") {
      r.fine = valore;
    } else if (chiave == "processo") {
      r.processo = static_cast<long>(intero_lungo(valore).value_or(0));
    } else if (chiave == "comando") {
      r.comando = valore;
    } else if (chiave == "lavoro") {
      r.dirlavoro = valore;
    } else if (chiave == "stato") {
      r.stato = static_cast<int>(intero_lungo(valore).value_or(-1));
    } else if (chiave == "messaggio") {
      r.messaggi.push_back(valore);
    } else if (chiave == "file") {
      // name, then "assente" or the state, the size and the fingerprint
      std::vector<std::string> parti;
      for (std::size_t i = 0; i <= valore.size();) {
        std::size_t j = valore.find(' ', i);
        if (j == std::string::npos) j = valore.size();
        parti.push_back(valore.substr(i, j - i));
        i = j + 1;
      }
      RunRecord::Output o;
      o.nome = parti[0];
      if (parti.size() == 4 && (parti[1] == "scritto" || parti[1] == "invariato")) {
        const auto byte = intero_lungo(parti[2]);
        const auto h = da_esadecimale(parti[3]);
        if (!byte || !h) return std::nullopt;
        o.presente = true;
        o.scritto = parti[1] == "scritto";
        o.byte = *byte;
        o.impronta = *h;
      } else if (parti.size() != 2 || parti[1] != "assente") {
        return std::nullopt;
      }
      r.file.push_back(o);
    }
  }
  return r;
}

}  // namespace gencampi

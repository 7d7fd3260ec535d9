// A minimal XML well-formedness check for the pictures the viewer draws: one root,
// every tag closed in order, attributes quoted, no bare "<", ">" or "&" in text.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace gencampi::view::testing {

// True when `s` at `i` starts a predefined entity; i is moved past it.
inline bool entity(const std::string& s, std::size_t& i) {
  for (const char* e : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
    const std::string t = e;
    if (s.compare(i, t.size(), t) == 0) {
      i += t.size();
      return true;
    }
  }
  return false;
}

inline bool attributes_ok(const std::string& a) {
  std::size_t i = 0;
  auto name_char = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' ||
           c == '.';
  };
  for (;;) {
    while (i < a.size() && (a[i] == ' ' || a[i] == '\n')) ++i;
    if (i == a.size()) return true;
    if (!std::isalpha(static_cast<unsigned char>(a[i]))) return false;
    while (i < a.size() && name_char(a[i])) ++i;
    if (i + 1 >= a.size() || a[i] != '=' || a[i + 1] != '"') return false;
    i += 2;
    while (i < a.size() && a[i] != '"') {
      if (a[i] == '<') return false;
      if (a[i] == '&') {
        if (!entity(a, i)) return false;
      } else {
        ++i;
      }
    }
    if (i == a.size()) return false;
    ++i;
  }
}

inline ::testing::AssertionResult well_formed(const std::string& xml) {
  std::size_t i = xml.find("?>");
  if (xml.rfind("<?xml", 0) != 0 || i == std::string::npos)
    return ::testing::AssertionFailure() << "no XML declaration";
  i += 2;
  std::vector<std::string> open;
  int roots = 0;
  while (i < xml.size()) {
    std::size_t lt = xml.find('<', i);
    const std::size_t end = (lt == std::string::npos) ? xml.size() : lt;
    for (std::size_t k = i; k < end;) {
      if (xml[k] == '>') return ::testing::AssertionFailure() << "bare > near " << k;
      if (xml[k] == '&') {
        if (!entity(xml, k)) return ::testing::AssertionFailure() << "bare & near " << k;
      } else {
        ++k;
      }
    }
    if (lt == std::string::npos) break;
    std::size_t gt = xml.find('>', lt);
    if (gt == std::string::npos) return ::testing::AssertionFailure() << "unclosed tag";
    std::string tag = xml.substr(lt + 1, gt - lt - 1);
    if (tag.empty()) return ::testing::AssertionFailure() << "empty tag";
    if (tag[0] == '/') {
      if (open.empty() || open.back() != tag.substr(1))
        return ::testing::AssertionFailure() << "mismatched </" << tag.substr(1) << ">";
      open.pop_back();
    } else {
      const bool empty = tag.back() == '/';
      if (empty) tag.pop_back();
      std::size_t sp = tag.find_first_of(" \n");
      std::string name = tag.substr(0, sp);
      if (sp != std::string::npos && !attributes_ok(tag.substr(sp)))
        return ::testing::AssertionFailure() << "bad attributes in <" << name << ">";
      if (open.empty()) ++roots;
      if (!empty) open.push_back(name);
    }
    i = gt + 1;
  }
  if (!open.empty()) return ::testing::AssertionFailure() << "<" << open.back() << "> not closed";
  if (roots != 1) return ::testing::AssertionFailure() << roots << " root elements";
  return ::testing::AssertionSuccess();
}

}  // namespace gencampi::view::testing

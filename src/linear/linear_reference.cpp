#include "linear/linear_tables.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "linear/linear_line.h"

namespace {

bool BeginsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// True when a list of ratings holds the rating as a whole number: "100" is not in
// "1000", "250/400" holds both.
bool ListHoldsRating(std::string_view list, int rating) {
  std::size_t i = 0;
  while (i < list.size()) {
    if (list[i] < '0' || list[i] > '9') {
      ++i;
      continue;
    }
    long long value = 0;
    while (i < list.size() && list[i] >= '0' && list[i] <= '9') {
      if (value < 1000000000) value = value * 10 + (list[i] - '0');
      ++i;
    }
    if (value == rating) return true;
  }
  return false;
}

// True when a list of configuration words (separated by blanks, commas or semicolons)
// holds the word whole: "3LNPER" does not hold "3LNPE".
bool ListHoldsWord(std::string_view list, std::string_view word) {
  if (word.empty()) return false;
  std::size_t i = 0;
  while (i < list.size()) {
    const std::size_t end = list.find_first_of(" ,;\t", i);
    const std::string_view token = list.substr(i, end == std::string_view::npos ? end : end - i);
    if (token == word) return true;
    if (end == std::string_view::npos) break;
    i = end + 1;
  }
  return false;
}

char RatingDigitForQjf(int rating) {
  switch (rating) {
    case 1000: return '4';
    case 1200:
    case 2200:
    case 3000:
    case 4000: return '6';
    case 1450:
    case 2500:
    case 3400:
    case 4500: return '8';
    default: return 0;
  }
}

void FillPosition2(std::string& t, int product) {
  if (t.size() < 3 || t[2] != '?') return;
  if (product == 0 || product == 2 || product == 4 || product == 6 || product == 7) t[2] = 'A';
  else if (product == 8) t[2] = 'B';
  else if (product == 1 || product == 3 || product == 10) t[2] = 'C';
}

void FillPosition7(std::string& t, int product, int rating, int conductors) {
  if (t.size() < 8) return;
  const bool qyOrFp = IsQyProduct(product) || product == kProductQFP;
  if (qyOrFp) {
    if (t[7] == '?') t[7] = conductors == 12 || conductors == 14 ? '2' : '4';
    if (t.size() >= 9 && t[8] == '?') {
      if (conductors == 12 || conductors == 13) t[8] = '0';
      else if (conductors == 14 || conductors == 15) t[8] = '2';
      else if (conductors == 16) t[8] = '4';
    }
    return;
  }
  if (t[7] != '?') return;
  if (product == kProductQJF) {
    const std::string digits = std::to_string(rating);
    if (conductors == 12) t[7] = '0';
    else if (conductors == 13 && !digits.empty()) t[7] = digits[0];
    else if (conductors == 15 && rating >= 3000) t[7] = '2';
    else if (conductors == 15 && rating >= 2200) t[7] = '1';
    return;
  }
  if (conductors == 12) t[7] = '3';
  else if (conductors == 13) t[7] = '4';
  else if (conductors == 14) t[7] = IsQmProduct(product) ? '5' : '7';
  else if (conductors == 16) t[7] = '6';
}

std::string SizeCode(int product, int rating, bool roundUp) {
  static constexpr std::array<int, 10> kCodes = {74, 104, 124, 164, 204, 244, 324, 404, 622, 0};
  int entry = -1;
  switch (rating) {
    case 800: entry = 0; break;
    case 1000: entry = 1; break;
    case 1250:
    case 1350: entry = 2; break;
    case 1600: entry = 3; break;
    case 2000: entry = 4; break;
    case 2500: entry = 5; break;
    case 3200: entry = 6; break;
    case 4000: entry = 7; break;
    case 5000: entry = 8; break;
    case 6300: entry = 9; break;
    default: break;
  }
  // The copper range's entries are one lower; it has none for 800 A and takes the
  // smallest size there.
  if (entry < 0) entry = 8;
  else if (product == kProductQMC) entry = std::max(entry - 1, 0);
  int code = kCodes[static_cast<std::size_t>(entry)];
  if (roundUp) code = code <= 124 ? 230 : code <= 244 ? 350 : code <= 618 ? 510 : 622;
  char text[16];
  std::snprintf(text, sizeof text, "%04d", code);
  return text;
}

std::string FillText34(const std::string& t, int product, int rating, bool apod) {
  std::string text;
  const bool first = (t[4] == '?' && !BeginsWith(t, "QMB")) || product == kProductQDA;
  if (first) {
    text = std::to_string(rating);
    if (product == kProductQMA && rating == 800) text = "0800";
    if (product == kProductQDA && rating == 40 && t[4] != '?') text = "63";
    if (product == kProductQJF && text.size() >= 2)
      if (const char digit = RatingDigitForQjf(rating)) text[1] = digit;
  } else if (IsQmProduct(product)) {
    text = SizeCode(product, rating, t[4] != '?');
  }
  if (IsQwProduct(product)) {
    if (rating == 200 || rating == 315) text = "31";
    else if (rating == 400 || rating == 500) text = "63";
    else if (rating == 630) text = product == kProductQWA ? "80" : "63";
    else if (rating == 800) text = "80";
  } else if (IsQpProduct(product) && !apod) {
    const bool wide = product == kProductQPA || t[2] == 'A';
    if (rating == 100 || rating == 160 || rating == 250) text = "250";
    else if (rating == 400) text = "400";
    else if (rating == 500 || rating == 630) text = wide ? "630" : "800";
    else if (rating == 800) text = wide ? "1000" : "800";
    else if (rating == 1000) text = "1000";
  } else if (IsQpProduct(product)) {
    if (rating == 100 || rating == 160 || rating == 250) text = "25";
    else if (rating == 400 || rating == 500) text = "50";
    else if (rating == 630 || rating == 800) text = "80";
  } else if (product == kProductQJF && !first) {
    text = std::to_string(rating);
    if (text.size() >= 2) text[1] = '6';
  } else if (IsQyProduct(product)) {
    text = "40";
  }
  return text;
}

void FillPositions34(std::string& t, int product, int rating, bool apod) {
  if (t.size() < 5 || t[3] != '?') return;
  const std::string text = FillText34(t, product, rating, apod);
  // With no rule for this rating the positions keep their "?", so the reference is
  // reported as unknown rather than priced as another article.
  if (text.empty()) return;
  const bool whole =
      IsQmProduct(product) || product == kProductQDA || (IsQpProduct(product) && !apod);
  if (whole) {
    t.replace(3, 2, text);
  } else {
    t[3] = text[0];
    if (text.size() >= 2) t[4] = text[1];
  }
}

void RemoveLast(std::string& t, char c) {
  if (!t.empty() && t.back() == c) t.pop_back();
}

}  // namespace

std::string ConductorWord(int conductors, int product) {
  static constexpr std::array<const char*, 5> kWords = {"3LPE", "3LNPE", "3LNPER", "3LN/2PE",
                                                        "3L2NPE"};
  static constexpr std::array<const char*, 5> kQyWords = {"2+0", "4+0", "2+2", "4+2", "4+4"};
  if (conductors < 12 || conductors > 16) return {};
  const std::size_t i = static_cast<std::size_t>(conductors - 12);
  const bool qy = IsQyProduct(product) || (product == kProductQFP && conductors <= 13);
  return qy ? kQyWords[i] : kWords[i];
}

std::string FillReferenceTemplate(std::string t, int product, int rating, int conductors,
                                  bool apod) {
  FillPosition2(t, product);
  FillPosition7(t, product, rating, conductors);
  FillPositions34(t, product, rating, apod);
  if (IsQyProduct(product)) {
    RemoveLast(t, 'x');
    RemoveLast(t, 'w');
    RemoveLast(t, 't');
  } else if (product == kProductQFP) {
    RemoveLast(t, 'x');
  }
  return t;
}

std::optional<std::string> CLinearTables::LookupLinearReference(const CLinearLine& line,
                                                                std::string_view name) const {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const auto found = m_refsByName.find(std::string(name));
  if (found == m_refsByName.end()) return std::nullopt;
  const std::string code = LinearProductCode(line.Product, m_apod);
  const std::string range = std::string("Q") + LinearRangeLetter(line.Product, m_apod) + "?";
  const std::string word = ConductorWord(line.Conductors, line.Product);
  for (const RefRow& row : found->second) {
    const bool product =
        (!code.empty() && BeginsWith(row.prod, code)) ||
        (line.Product >= 0 && line.Product <= kProductQPC && BeginsWith(row.prod, range));
    if (!product) continue;
    if (!row.cal.empty() && !ListHoldsRating(row.cal, line.Rating)) continue;
    if (!row.pol.empty() && !ListHoldsWord(row.pol, word)) continue;
    return FillReferenceTemplate(row.ref, line.Product, line.Rating, line.Conductors, m_apod);
  }
  return std::nullopt;
}

#include <algorithm>
#include <array>
#include <string>

#include "reference/ref_catalogue.h"
#include "reference/ref_line.h"

namespace {

bool BeginsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// True when the word stands in the list as a whole word: blanks and commas separate
// the words, and a "(" may follow one. "100" is not in "1000".
bool HasWordAt(std::string_view list, std::size_t at, std::size_t length) {
  const bool startsWord = at == 0 || list[at - 1] == ' ' || list[at - 1] == ',';
  const std::size_t end = at + length;
  const bool endsWord =
      end == list.size() || list[end] == ' ' || list[end] == ',' || list[end] == '(';
  return startsWord && endsWord;
}

// The test that "(xy" after a conductor pattern sets on the connection code.
bool ConnectionTestHolds(std::string_view xy, int code) {
  const bool negated = xy[0] == '!';
  const char letter = negated ? xy[1] : xy[0];
  if (!negated && xy[1] != ')') return false;
  bool holds = false;
  switch (letter) {
    case ' ': holds = code == 0; break;  // " )" code 0, "! " code != 0
    case 'w': holds = code == 1; break;
    case 'W': holds = code == 1 || code == 3; break;
    case 't': holds = code == 2; break;
    case 'T': holds = code == 2 || code == 3 || code == 4; break;
    case 'E': holds = code == 4; break;
    case 'X': holds = code == 7; break;
    default: return false;
  }
  return negated ? !holds : holds;
}

bool PolPasses(const CRefLine& line, std::string_view pol) {
  if (pol.empty()) return true;
  const std::string_view pattern = RefConductorPattern(line.conductors, line.group);
  if (pattern.empty()) return false;
  const bool withTests = line.productKind == 1 || line.productKind == 2;
  for (std::size_t at = pol.find(pattern); at != std::string_view::npos;
       at = pol.find(pattern, at + 1)) {
    if (!HasWordAt(pol, at, pattern.size())) continue;
    const std::size_t after = at + pattern.size();
    const bool tested = after + 2 < pol.size() && pol[after] == '(';
    if (!withTests || !tested) return true;
    if (ConnectionTestHolds(pol.substr(after + 1, 2), line.connection)) return true;
  }
  return false;
}

bool CalPasses(const CRefLine& line, std::string_view cal) {
  if (cal.empty()) return true;
  const std::string rating = std::to_string(line.rating);
  for (std::size_t at = cal.find(rating); at != std::string_view::npos;
       at = cal.find(rating, at + 1))
    if (HasWordAt(cal, at, rating.size())) return true;
  return false;
}

// The rating text of a reference's positions 3-4.
std::string RatingText(const CRefLine& line, bool wholeRating, char letter) {
  const int kind = line.productKind, rating = line.rating;
  if (wholeRating || kind == 3) {
    if (kind == 3 && !wholeRating && rating == 40) return "63";
    return std::to_string(rating);
  }
  if (kind == 4 || kind == 8) {
    const bool small = kind == 4 || letter == 'A';
    if (rating == 100 || rating == 160 || rating == 250) return "250";
    if (rating == 400) return "400";
    if (rating == 500 || rating == 630) return small ? "630" : "800";
    if (rating == 800) return small ? "1000" : "800";
    if (rating == 1000) return "1000";
    return std::to_string(rating);
  }
  if (kind == 5 || kind == 7) {
    if (rating == 100 || rating == 160 || rating == 250) return "25";
    if (rating == 400 || rating == 500) return "50";
    if (rating == 630 || rating == 800) return "80";
    return std::to_string(rating);
  }
  if (kind == 1 || kind == 2) return "40";
  return std::to_string(rating);
}

char ProductLetter(const CRefLine& line) {
  switch (line.productKind) {
    case 1:
    case 4:
    case 7: return 'A';
    case 2: return 'B';
    case 5:
    case 8: return 'C';
    case 3: return line.connection == 2 || line.connection == 6 ? 'T' : 'A';
    default: return '?';
  }
}

void FillConductors(const CRefLine& line, std::string& ref) {
  if (ref.size() < 8 || ref[7] != '?') return;
  const int code = line.conductors, kind = line.productKind;
  if (kind >= 0 && kind <= 2) {
    ref[7] = code == 0 || code == 2 ? '2' : '4';
    if (ref.size() > 8 && ref[8] == '?') {
      if (code == 0 || code == 1) ref[8] = '0';
      else if (code == 2 || code == 3) ref[8] = '2';
      else if (code == 4) ref[8] = '4';
    }
  } else if (code == 1) {
    ref[7] = '4';
  }
}

bool DropEnd(std::string& ref, char marker) {
  if (ref.empty() || ref.back() != marker) return false;
  ref.pop_back();
  return true;
}

void FillEndMarkers(const CRefLine& line, std::string& ref) {
  const int kind = line.productKind, code = line.connection;
  if (kind == 0) {
    if (DropEnd(ref, 'x') && code == 7) ref += 'X';
    return;
  }
  if (kind != 1 && kind != 2) return;
  const bool x = DropEnd(ref, 'x'), w = DropEnd(ref, 'w'), t = DropEnd(ref, 't');
  if (t && (code == 2 || code == 3)) ref += 'T';
  if (t && code == 4) ref += 'E';
  if (w) ref += 'W';
  if (x && code == 7) ref += 'X';
}

void FillRating(const CRefLine& line, std::string& ref) {
  if (ref.size() < 5 || ref[3] != '?') return;
  const int kind = line.productKind;
  const std::string text = RatingText(line, ref[4] == '?', ref[2]);
  if (kind == 3 || kind == 4 || kind == 8) {
    ref = ref.substr(0, 3) + text + ref.substr(5);
  } else if (text.size() >= 2) {
    ref[3] = text[0];
    ref[4] = text[1];
  }
}

}  // namespace

bool CRefCatalogue::ResolveComponentReference(const CRefLine& line, std::string& name) const {
  std::string key = name;
  while (!key.empty() && key.front() == ' ') key.erase(key.begin());
  while (!key.empty() && key.back() == ' ') key.pop_back();
  const auto rows = m_namesByNom.find(key);
  if (rows == m_namesByNom.end()) return false;
  const std::string_view code = RefProductCode(line.productKind);
  const std::string rangeWide{'Q', RefRangeLetter(line.productKind), '?'};
  for (const NameRow& row : rows->second) {
    const bool product = (!code.empty() && BeginsWith(row.prod, code)) ||
                         (line.productKind != kRefProductQYX && BeginsWith(row.prod, rangeWide));
    if (!product || !CalPasses(line, row.cal) || !PolPasses(line, row.pol)) continue;
    std::string ref = row.ref;
    if (ref.size() > 2 && ref[2] == '?') ref[2] = ProductLetter(line);
    FillConductors(line, ref);
    FillEndMarkers(line, ref);
    FillRating(line, ref);
    name = ref;
    return true;
  }
  return false;
}

#include "ranges/qm/qm_tables.h"

#include "ranges/range_ref_text.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<int, int>, 11> kAmperes{{{8, 800},
                                                        {10, 1000},
                                                        {12, 1250},
                                                        {13, 1350},
                                                        {16, 1600},
                                                        {20, 2000},
                                                        {25, 2500},
                                                        {32, 3200},
                                                        {40, 4000},
                                                        {50, 5000},
                                                        {63, 6300}}};

char Digit(int value) { return static_cast<char>('0' + (value % 10 + 10) % 10); }

// The pieces of the maker's other lines that a QM run lists as accessories.
std::string OtherLineReference(int kind) {
  if (kind >= 100 && kind <= 109) return std::string("QJB0") + Digit(kind) + "AD";
  if (kind >= 110 && kind <= 113) return std::string("QZB1") + Digit(kind) + "FX";
  if (kind >= 114 && kind <= 117) return std::string("QZB2") + Digit(kind) + "FXL";
  if (kind == 130) return "QLKIT01";
  if (kind == 131) return "QLKIT02";
  if (kind == 132) return "QLCLIP";
  return {};
}

std::string Bracket(int kind) {
  const int last = kind % 10;
  if ((kind >= 141 && kind <= 144) || (kind >= 151 && kind <= 154)) {
    std::string text = "QMB0100YC107A";
    if (kind > 150) SetRefChar(text, 9, '3');
    if (kind % 2 == 0) SetRefChar(text, 5, '2');
    SetRefChar(text, 11, '5');
    SetRefChar(text, 12, 'B');
    return text;
  }
  if (kind >= 161 && kind <= 164) {
    std::string text = "QMB0100YC50710A";
    if (kind % 2 == 0) LayRefText(text, 12, "06");
    if (last > 2) {
      SetRefChar(text, 11, '5');
      SetRefChar(text, 14, 'B');
    }
    return text;
  }
  if (kind >= 191 && kind <= 195) return std::string("QMB0000YP1") + Digit(last);
  if (kind >= 201 && kind <= 205) return std::string("QMB0000YP2") + Digit(last);
  return {};
}

}  // namespace

int QMRatingAmperes(int code) {
  for (const auto& [rating, amperes] : kAmperes) {
    if (rating == code) return amperes;
  }
  return 0;
}

std::string_view QMRatingCode(int rating) {
  switch (rating) {
    case 8: return "10";
    case 10: return "13";
    case 12: return "16";
    case 16: return "20";
    case 20: return "25";
    case 25: return "32";
    case 32: return "40";
    case 40: return "50";
    case 50: return "63";
    default: return {};
  }
}

std::string_view QMAccessoryLetters(int kind) {
  static constexpr std::array<std::string_view, 10> kYC{"", "YC1", "YC2", "YC3", "YC4", "YC5"};
  static constexpr std::array<std::string_view, 7> kYB{"", "", "YB2", "YB3", "YB4", "YB5", "YB6"};
  switch (kind) {
    case 4: return "ZA4";
    case 5: return "ZA52";
    case 7: return "ZA7";
    case 8: return "ZA8";
    case 12: return "BC01";
    case 13: return "CR1";
    case 15: return "CR2";
    case 16: return "CR3";
    case 17: return "CR4";
    case 18: return "CR5";
    case 19: return "CR6";
    case 31: return "YT1";
    case 41: return "YE1";
    case 51: return "YS1";
    case 52: return "YS2";
    case 53: return "YS3";
    case 62: return "CS0";
    default: break;
  }
  if (kind >= 21 && kind <= 25) return kYC[static_cast<std::size_t>(kind - 20)];
  if (kind >= 42 && kind <= 46) return kYB[static_cast<std::size_t>(kind - 40)];
  return {};
}

bool IsSizedAccessory(int kind) {
  return kind == 4 || kind == 5 || kind == 7 || kind == 8 || kind == 12 || kind == 13 ||
         (kind >= 15 && kind <= 19) || (kind >= 21 && kind <= 25) || kind == 31 ||
         (kind >= 41 && kind <= 46) || (kind >= 51 && kind <= 53) || kind == 62 ||
         (kind >= 91 && kind <= 96) || (kind >= 171 && kind <= 185);
}

std::string QMWholeReference(int kind, int value) {
  switch (kind) {
    case 71: return "QMB0164PE1";
    case 72: return "QMB0244PE1";
    case 73:
    case 74: return "QMB0404PE1";
    case 80: {
      std::string text = "QMB08CF6 ";
      SetRefChar(text, 7, value > 244 ? '9' : '7');
      return text;
    }
    case 81: return "QMB0000SC1";
    default: break;
  }
  if (std::string text = OtherLineReference(kind); !text.empty()) return text;
  return Bracket(kind);
}

void ReplaceFirst(std::string& text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) LayRefText(text, at, to);
}

// The housing width and bar depth of a rating (QMA ratings counted as the QMC size
// they stand for); zeros for a rating the range does not have.
std::pair<int, int> QMHousingOfRating(int rating, bool qma) {
  static constexpr int kFrom[] = {8, 10, 12, 16, 20, 25, 32, 40, 50};
  static constexpr int kTo[] = {10, 13, 16, 20, 25, 32, 40, 50, 63};
  if (qma) {
    for (std::size_t i = 0; i < std::size(kFrom); ++i) {
      if (kFrom[i] == rating) {
        rating = kTo[i];
        break;
      }
    }
  }
  switch (rating) {
    case 10: return {230, 70};
    case 13: return {230, 100};
    case 16: return {230, 120};
    case 20: return {350, 160};
    case 25: return {350, 200};
    case 32: return {350, 240};
    case 40: return {510, 320};
    case 50: return {510, 400};
    case 63: return {724, 610};
    default: return {0, 0};
  }
}

bool IsSmallQMCalibre(std::string_view catalog, std::string_view calibre) {
  return (catalog == "QMC" && calibre == "63") || (catalog == "QMA" && calibre == "50");
}

#include "reference/ref_rating_texts.h"

#include <cstdlib>

#include "app/message_text.h"

namespace {

constexpr int kMsgRating = 31091, kMsgSize = 32273, kMsgTypeNumber = 32426, kMsgLuminaire = 32080,
              kMsgBallast = 32275, kMsgConnection = 32427, kMsgShortCircuit = 32428, kMsgOr = 31035;

// The number that follows the first occurrence of a marker, 0 when none does.
int NumberAfter(const std::string& text, const std::string& marker, std::size_t from = 0) {
  const std::size_t at = text.find(marker, from);
  if (at == std::string::npos) return 0;
  return std::atoi(text.c_str() + at + marker.size());
}

// A message from the character after its first ':' (the heading stands before it).
std::string AfterHeading(const std::string& message) {
  const std::size_t colon = message.find(':');
  return colon == std::string::npos ? message : message.substr(colon + 1);
}

// Of "first:second" the part before the ':' or the part after it.
std::string PartOf(const std::string& text, bool second) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return text;
  return second ? text.substr(colon + 1) : text.substr(0, colon);
}

int TypeHeading(int family) {
  switch (family) {
    case 1: return 31092;
    case 2: return 31093;
    case 3:
    case 7:
    case 8: return 31094;
    case 4: return 32182;
    case 5: return 32081;
    case 6: return 32245;
    case 9: return 32274;
    case 10: return kMsgConnection;
    default: return 0;
  }
}

CRatingRowTexts FamilyTenTexts(const CRatingEntry& entry) {
  const std::string& typ1 = entry.type[0];
  CRatingRowTexts texts;
  texts.rating =
      typ1.find("TYP") == std::string::npos
          ? " "
          : FormatMessageTextD(AfterHeading(StringText(kMsgTypeNumber)), NumberAfter(typ1, "TYP"));
  const std::size_t cp = typ1.find("CP");
  texts.type = cp == std::string::npos ? " "
                                       : PartOf(AfterHeading(StringText(kMsgConnection)),
                                                !(cp + 2 < typ1.size() && typ1[cp + 2] == 'F'));
  const std::size_t icc = typ1.find("ICC");
  if (icc == std::string::npos) {
    texts.extra = " ";
    return texts;
  }
  const int kiloamperes = NumberAfter(typ1, "ICC");
  const int amperes = NumberAfter(typ1, ">", icc);
  texts.extra = FormatMessageTextDD(
      PartOf(AfterHeading(StringText(kMsgShortCircuit)), amperes != 0), kiloamperes, amperes);
  return texts;
}

}  // namespace

CRatingHeadings RefRatingHeadings(int family) {
  CRatingHeadings headings;
  headings.type = TypeHeading(family);
  if (family == 5 || family == 6) {
    headings.rating = kMsgLuminaire;
    return headings;
  }
  headings.rating = family == 9 ? kMsgSize : family == 10 ? kMsgTypeNumber : kMsgRating;
  if (family == 9) headings.protection = kMsgBallast;
  if (family == 10) headings.extra = kMsgShortCircuit;
  return headings;
}

std::string RefRatingHeadingText(int message, int family) {
  if (message == 0) return {};
  return family == 10 ? PartOf(StringText(message), false) : StringText(message);
}

bool RefRatingCaptionShown(int family) { return family != 9; }

bool RefRatingTypeListNarrow(int family) {
  return family == 5 || family == 7 || family == 10 || family == 11;
}

std::string RefExpandMessageText(const std::string& text) {
  const std::size_t at = text.find("MSG");
  if (at == std::string::npos) return text;
  std::size_t end = at + 3;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end == at + 3) return text;  // "MSG" without a number is plain text
  const int number = std::atoi(text.c_str() + at + 3);
  const std::string message =
      end - at - 3 <= 5 && number >= 30000 && number < 33000 ? StringText(number) : std::string();
  return text.substr(0, at) + message + text.substr(end);
}

CRatingRowTexts RefRatingRowTexts(const CRatingEntry& entry, int family) {
  if (family == 10) return FamilyTenTexts(entry);
  CRatingRowTexts texts;
  if (family == 5 || family == 6) texts.rating = entry.typeLabel.empty() ? " " : entry.typeLabel;
  else texts.rating = family == 9 ? entry.rating : entry.rating + " A";
  texts.type = RefExpandMessageText(entry.type[entry.variant != 0 ? 1 : 0]);
  return texts;
}

std::string RefRatingNote(const std::string& typeLabel) {
  if (typeLabel.find('/') == std::string::npos) return {};
  const std::string joint = " " + StringText(kMsgOr) + "\n";
  std::string note;
  for (char c : typeLabel) {
    if (c == '/') note += joint;
    else note += c;
  }
  return note;
}

bool RefRatingRowSetOff(const CRatingEntry& entry, int family) {
  return family == 11 && entry.group == CRatingEntry::kEveryGroup;
}

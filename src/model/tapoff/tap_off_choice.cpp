#include "model/tapoff/tap_off_choice.h"

#include <charconv>

namespace {

int LeadingNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::uint32_t FamilyTwoMask(const CTapOffRecord& record) {
  if (record.function == 6) return 16;
  const bool second = (record.function == 3 && record.subFunction == 2) ||
                      (record.function == 5 && record.subFunction != 1);
  return second ? 8 : 4;
}

}  // namespace

int TapOffFamily(std::string_view code) {
  if (code.starts_with("Qp")) return 1;
  if (code.starts_with("QM")) return 2;
  if (code.starts_with("QW")) return 3;
  if (code == "QJF") return 4;
  if (code.starts_with("QD")) return 5;
  return 0;
}

std::uint32_t TapOffMask(const CTapOffRecord& record, int family) {
  switch (family) {
    case 0:
    case 1: {
      std::uint32_t mask = LeadingNumber(record.texts[2]) < 400 ? 3 : 2;
      if (family == 0 && record.function == 6) mask |= 0x1000;
      if (family == 0 && record.function == 7) mask |= 0x4000;
      return mask;
    }
    case 2: return FamilyTwoMask(record);
    case 3: return 64;
    case 4: return record.function < 3 && record.subFunction == 2 ? 32 : 16;
    case 5: return 128;
    default: return 0;
  }
}

CTapOffChoice& RememberedTapOffChoice() {
  static CTapOffChoice choice;
  return choice;
}

void ResetRememberedTapOffChoice() { RememberedTapOffChoice() = CTapOffChoice{}; }

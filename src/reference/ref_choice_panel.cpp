#include "reference/ref_choice_panel.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/message_text.h"
#include "platform/number_text.h"

namespace {

constexpr int kBoxes = 6;

bool Entry(const std::vector<int>& table, int index) {
  return index >= 0 && index < static_cast<int>(table.size()) &&
         table[static_cast<std::size_t>(index)] != 0;
}

bool AnyKind(int kind, std::initializer_list<int> kinds) {
  for (int k : kinds)
    if (k == kind) return true;
  return false;
}

// The code of option n of a choice kind (-2 when the kind has no such option; -1 is a
// code of kind 9).
int OptionCode(int kind, int n) {
  switch (kind) {
    case 0: return n < 2 ? n + 1 : -2;
    case 1: return n + 3;
    case 2: return n < 2 ? n + 6 : -2;
    case 4: return n < 4 ? n + 9 : n == 4 ? 44 : 10;
    case 5: return n < 3 ? n + 13 : -2;
    case 6: return std::array<int, 6>{0, 1, 28, 29, 30, 31}[static_cast<std::size_t>(n)];
    case 8: return n < 2 ? n : -2;
    case 9: return n == 0 ? 0 : n == 1 ? -1 : -2;
    default: return -2;
  }
}

bool Offers(const CRefLineEditContext& context, const std::vector<int>& table, int kind, int n,
            int code) {
  const CRefLine& line = context.Line();
  const int k = line.productKind;
  switch (kind) {
    case 0: return Entry(table, 44 + code);
    case 1: return Entry(table, code) && (code < 6 || k == 0);
    case 4:
      return n == 5 ? (k == 1 || k == 2) && table.size() > 42 && (table[42] & 1) != 0
                    : Entry(table, code);
    case 6:
      if (code == 29 && !AnyKind(k, {4, 7, 8})) return false;
      if ((code == 30 || code == 31) && (!AnyKind(k, {4, 8}) || line.rating > 400)) return false;
      if (code == 28 && k == 0) return false;
      return Entry(table, code);
    case 8:
    case 9: return true;
    default: return code >= 0 && Entry(table, code);
  }
}

int CurrentCode(const CRefLineEditContext& context, int kind) {
  const CRefLine& line = context.Line();
  const auto& c = context.choices;
  switch (kind) {
    case 0: return line.lineMode;
    case 1: return c[kFamilyStraight];
    case 2: return c[kFamilyComplement];
    case 4: return c[kFamilyFixing];
    case 5: return c[kFamilyLuminaireFixing];
    case 6: return c[kFamilyFeed];
    case 8: return line.extraCode;
    case 9: return line.components[8] >= 0 ? 0 : -1;
    default: return -100;
  }
}

std::string Caption(CRefLineEditContext& context, int kind, int n, int code,
                    const std::vector<int>& table) {
  const int k = context.Line().productKind;
  const CRefChoiceContext captions = context.ChoiceContext();
  switch (kind) {
    case 0: return DescribeChoice(k, kChoiceLineMode, code, true, false, captions);
    case 1: return DescribeChoice(k, kChoiceStraight, code - 2, true, false, captions);
    case 2: return DescribeChoice(k, kChoiceComplement, code - 5, true, false, captions);
    case 4: return DescribeChoice(k, kChoiceFixing, n == 5 ? 2 : code - 8, true, n == 5, captions);
    case 5: return DescribeChoice(k, kChoiceCableEntry, code - 12, true, false, captions);
    case 6: {
      const bool zero = code == 0 && AnyKind(k, {4, 5, 7, 8}) && Entry(table, 28);
      return DescribeChoice(k, kChoiceFeed, zero ? 0 : n + 1, true, false, captions);
    }
    case 8: return DescribeChoice(k, kChoiceExtraCode, n + 1, true, false, captions);
    case 9: return StringText(n == 0 ? 32297 : 32298);
    default: return {};
  }
}

int TitleOf(int kind, int k) {
  const bool qp = AnyKind(k, {4, 7, 8});
  switch (kind) {
    case 0: return 32041;
    case 1: return k == 0 ? 32087 : qp ? 32046 : 32044;
    case 2: return qp ? 32046 : 32044;
    case 3: return 32065;
    case 4: return k == 1 || k == 2 ? 32048 : 32050;
    case 5: return 32051;
    case 6: return 32058;
    case 8: return 32238;
    case 9: return 32018;
    default: return 0;
  }
}

CRefPitch PitchOf(const CRefLineEditContext& context, int kind) {
  CRefPitch pitch;
  const int k = context.Line().productKind;
  pitch.shown = kind == 3 || (kind == 4 && k == 3);
  pitch.readOnly = kind == 4;
  if (kind == 3 && context.choices[kFamilyFixing] == 10 && k == 3)
    pitch.spinMax = 2, pitch.maxCm = 200;
  if (kind == 3 && k == 2) pitch.spinMax = 5, pitch.maxCm = 500;
  return pitch;
}

}  // namespace

CRefChoicePanelView RefChoicePanelFor(CRefLineEditContext& context, int kind) {
  CRefChoicePanelView view;
  const CRefLine& line = context.Line();
  view.titleMessage = TitleOf(kind, line.productKind);
  view.pitch = PitchOf(context, kind);
  const std::vector<int> table = context.GetChoiceTable(1);
  const int current = CurrentCode(context, kind);
  const bool variant = (line.components[42] & 1) != 0;
  for (int n = 0; n < kBoxes && kind != 3; ++n) {
    const int code = OptionCode(kind, n);
    if (code < -1 || !Offers(context, table, kind, n, code)) continue;
    bool checked = code == current;
    if (kind == 4 && code == 10) checked = checked && (n == 5) == variant;
    view.options.push_back({n, code, Caption(context, kind, n, code, table), checked});
  }
  const int k = line.productKind;
  view.poleCombo = kind == 1 && AnyKind(k, {4, 7, 8}) && Entry(table, 8) && table[8] != 7;
  view.pole = (line.components[8] & 1) != 0 ? 1 : 0;
  return view;
}

bool RefChoicePanelStore(CRefLineEditContext& context, int kind, const CRefChoicePanelInput& input,
                         int& member) {
  CRefLine& line = context.Line();
  bool changed = false;
  auto store = [&changed](int& into, int value) {
    changed = changed || into != value;
    into = value;
  };
  const int code = input.box >= 0 && input.box < kBoxes ? OptionCode(kind, input.box) : -2;
  member = code;
  if (code >= -1) {
    switch (kind) {
      case 0: store(line.lineMode, code); break;
      case 1: store(context.choices[kFamilyStraight], code); break;
      case 2: store(context.choices[kFamilyComplement], code); break;
      case 4: {
        store(context.choices[kFamilyFixing], code);
        store(line.components[42],
              input.box == 5 ? line.components[42] | 1 : line.components[42] & ~1);
        break;
      }
      case 5: store(context.choices[kFamilyLuminaireFixing], code); break;
      case 6: store(context.choices[kFamilyFeed], code); break;
      case 8: store(line.extraCode, code); break;
      case 9: store(line.components[8], code); break;
      default: break;
    }
  }
  if (kind == 1 && RefChoicePanelFor(context, 1).poleCombo) {
    store(line.components[8], input.pole == 1 ? 1 : 0);
    context.ApplyLineDefaults(line);
  }
  if ((kind == 3 || kind == 4) && input.pitchCm >= 0) store(line.fixingSpacing, input.pitchCm);
  return changed;
}

std::string RefPitchText(int centimetres, char decimal) {
  char text[32];
  if (centimetres % 100 == 0) std::snprintf(text, sizeof text, "%d", centimetres / 100);
  else std::snprintf(text, sizeof text, "%d%c%02d", centimetres / 100, decimal, centimetres % 100);
  return text;
}

std::optional<int> RefParsePitch(const std::string& text, const CRefPitch& pitch) {
  const std::optional<std::int64_t> tenths = ParseTypedScaled(text, 1);
  if (!tenths || *tenths > 100000) return std::nullopt;
  const int centimetres = static_cast<int>(*tenths) * 10;
  if (centimetres < pitch.minCm || centimetres > pitch.maxCm) return std::nullopt;
  return centimetres;
}

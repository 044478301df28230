#pragma once

#include "pages/prop_page.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CCodeRow;
class CRun;

// The characteristics page: the catalogue variant of an element (the whole element's
// variant, or the variant index of a selected face's straight section) chosen from the
// run's variant table, with the few options that range, kind and variant call for: the
// no-text flag "NOTEXT", the QP "SPK" flag and polarity "POL", an option bit (12, or 13
// and 14 for a few units), the face option of QJF, the QM options EH44 and ED31 of a
// face's straight, and the kit position "KITCF" of a QM or QG in-line unit.
class CCharacteristicsPage : public CPropPage {
 public:
  // One entry of the variant list: the table's code (option x 100 + variant), its text
  // and a message that follows the text (0: none).
  struct CEntry {
    int code = 0;
    std::string text;
    int suffixMessage = 0;
    int Variant() const { return code % 100; }
    int Option() const { return code / 100; }
  };
  // What the option box means for this element.
  // kEdRenumber: the ED step of a built QM face, turned on its reference; kEH44 and kED31:
  // the QM options of an unbuilt face's straight.
  enum class EOptionBox { kNone, kNoText, kSpk, kEdRenumber, kEH44, kED31 };
  // The arrangements of the polarity list: "3L+N+PE" (the default) and "3L+PEN".
  static constexpr std::array<int, 2> kPolarities = {4, 5};
  static constexpr int kMsgUnknownVariant = 30016;
  static constexpr int kMsgUnitSuffix = 30104;
  // Where Home and End send the kit before it is held within its limits.
  static constexpr std::int64_t kKitFarthest = 10000;
  // What the page reads of the run once per load (characteristics_context.h).
  struct CContext;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  bool IsFaceSelected() const { return m_face; }
  const std::vector<CEntry>& GetEntries() const { return m_entries; }
  // The chosen entry, -1 for none; a change of choice is applied at once by the caller.
  int GetChoice() const { return m_choice; }
  void SetChoice(int choice) { m_choice = choice; }
  bool IsListEnabled() const { return m_listEnabled; }

  // The note above the list (0: none), drawn in red with the warning icon.
  int GetNoteMessage() const { return m_note; }
  bool IsNoteRed() const { return m_noteRed; }

  EOptionBox GetOptionBox() const { return m_optionBox; }
  int GetOptionMessage() const { return m_optionMessage; }
  bool IsOptionChecked() const { return m_optionChecked; }
  bool IsOptionEnabled() const { return m_optionEnabled; }
  CApplyOutcome SetOptionChecked(bool checked);

  bool IsPolarityShown() const { return m_polarityShown; }
  bool IsPolarityEnabled() const { return m_polarityEnabled; }
  int GetPolarityIndex() const { return m_polarityIndex; }
  int GetPolarityCaption() const { return m_polarityCaption; }
  CApplyOutcome ChoosePolarity(int index);

  // Button 1479 (an option bit of the element) and button 1478 (the QJF face option).
  bool IsBitButtonShown() const { return m_bitButton; }
  int GetBitButtonMessage() const { return m_bitButtonMessage; }
  bool IsFaceButtonShown() const { return m_faceButton; }
  CApplyOutcome ToggleOptionBit();
  CApplyOutcome ToggleFaceOption();

  // The kit position of an in-line unit with a kit row: the offset p of the kit from the
  // unit's middle, within -limit..limit, and the kit's length L; the two distances
  // shown are L/2 - p and L/2 + p. Movable only while the run is not built.
  bool IsKitShown() const { return m_kitShown; }
  bool IsKitEnabled() const { return m_kitEnabled; }
  std::int64_t GetKitPosition() const { return m_kitPosition; }
  std::int64_t GetKitLimit() const { return m_kitLimit; }
  std::string GetKitDistanceText(bool after) const;
  // The kit moved to p (held within the limits), written to "KITCF", the chain rebuilt.
  CApplyOutcome SetKitPosition(std::int64_t position);
  // A distance typed in front of (1679) or after (1678) the kit; a text that is not a
  // length is refused.
  CApplyOutcome SetKitDistance(bool after, const std::string& typed);
  // The texts of the two distance fields as the user left them; the page's apply takes
  // the one that differs from what was shown.
  void SetTypedKitDistances(std::string before, std::string after) {
    m_typedKit = {std::move(before), std::move(after)};
  }
  // Home and End: toward the far limit, or back to the middle from the other side.
  static std::int64_t KitHomeTarget(std::int64_t position) {
    return position > 0 ? 0 : -kKitFarthest;
  }
  static std::int64_t KitEndTarget(std::int64_t position) {
    return position < 0 ? 0 : kKitFarthest;
  }

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  CContext Context(const CDev& element) const;
  int CurrentVariant(const CDev& element) const;
  void FillEntries(const CDev& element, const CContext& context);
  bool Offers(const CDev& element, const CContext& context, const CCodeRow& row, int code);
  bool OffersPackage(const CDev& element, std::string_view tag) const;
  int SuffixOf(const CDev& element, const CContext& context, int variant) const;
  void ResetRefusedVariant(CDev& element, const CContext& context);
  void LoadWholeOptions(const CDev& element, const CContext& context);
  void LoadInLineOptions(const CDev& element, const CContext& context);
  void LoadEndOptions(const CDev& element, const CContext& context);
  void LoadFaceOptions(const CDev& element, const CContext& context);
  void LoadQMFaceOptions(CDev& element, const CContext& context);
  void LoadKit(const CDev& element, const CContext& context);
  CApplyOutcome SetQMOption(CDev& element, bool checked);

  CApplyOutcome ApplyFace(CDev& element, const CEntry& entry);
  CApplyOutcome ApplyFaceReference(CDev& element, const CEntry& entry);
  void ApplyWhole(CDev& element, const CEntry& entry);
  void RewriteWhole(CDev& element, int from, int to);
  void MoveReference(CDev& element, const std::string& reference);
  CDev* OptionBitTarget(CDev& element) const;

  bool m_face = false;
  int m_variant = 0;
  std::vector<CEntry> m_entries;
  std::vector<std::string> m_references;
  int m_choice = -1;
  int m_loadedChoice = -1;
  bool m_listEnabled = true;
  int m_note = 0;
  bool m_noteRed = false;
  EOptionBox m_optionBox = EOptionBox::kNone;
  int m_optionMessage = 0;
  bool m_optionChecked = false;
  bool m_optionEnabled = true;
  bool m_polarityShown = false;
  bool m_polarityEnabled = false;
  int m_polarityIndex = 0;
  int m_polarityCaption = 0;
  bool m_bitButton = false;
  int m_bitButtonMessage = 0;
  bool m_faceButton = false;
  bool m_kitShown = false;
  bool m_kitEnabled = false;
  std::int64_t m_kitPosition = 0;
  std::int64_t m_kitLimit = 0;
  std::int64_t m_kitLength = 0;
  std::array<std::string, 2> m_typedKit;
};

// A QM reference of a face's straight with the ED step: the number at places 11-13
// turned for the option box (checked: 203, 302, 353 to 201, 301, 351; cleared: 201, 351
// to 203, 353 and 301 to 302); nothing when the reference is not of that form or keeps
// its number.
std::optional<std::string> RenumberEDReference(std::string_view reference, bool checked);

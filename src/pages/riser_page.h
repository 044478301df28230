#pragma once

#include "pages/prop_page.h"

#include <cstdint>
#include <string>

// The riser page of an in-line unit on a vertical rise: the spacing of the fixings, the
// plug length (the range's standard plus the element's "PLUG1"), the number of fixings
// and whether the next element grows by them; the insert button puts the fixings along
// the run after the unit.
class CRiserPage : public CPropPage {
 public:
  static constexpr std::int64_t kDefaultSpacing = 3000;
  // Beyond this many fixings a rise is a typing mistake, whatever the spacing.
  static constexpr std::int64_t kMostFixings = 999;
  // The longest an element grows by its fixings (the longest costed length of a face).
  static constexpr std::int64_t kLongestGrowth = 500000;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  const std::string& GetSpacingText() const { return m_spacingText; }
  const std::string& GetPlugText() const { return m_plugText; }
  const std::string& GetCountText() const { return m_countText; }
  void SetSpacingText(std::string text) { m_spacingText = std::move(text); }
  void SetPlugText(std::string text) { m_plugText = std::move(text); }
  void SetCountText(std::string text) { m_countText = std::move(text); }
  bool IsInsertWithLength() const { return m_withLength; }
  void SetInsertWithLength(bool on) { m_withLength = on; }
  std::string GetSpacingLabel() const;
  std::string GetPlugLabel() const;
  std::int64_t GetStandardPlug() const { return m_standard; }
  std::int64_t GetPlugMinimum() const { return m_minimum; }
  std::int64_t GetPlugMaximum() const { return m_maximum; }
  // How the plug controls show: the caption (2667, 30205 for QM, 2668 for "Qp"),
  // whether they are shown (not for QG) and editable (not for QP and "Qp").
  int GetPlugCaptionMessage() const { return m_plugCaption; }
  bool IsPlugShown() const { return m_plugShown; }
  bool IsPlugEditable() const { return m_plugEditable; }

  // The insert button: the page applied, then count - 1 fixings along the run after the
  // unit, as one undo step. Refused (a beep) when the unit is the last of its run.
  CApplyOutcome InsertFixings();
  // After an insertion on a QP rise: the run's supports should be looked at (the
  // question's message numbers, the last chosen by the run's "RISERFIX").
  bool AsksForSupports() const;
  int GetSupportsQuestionLast() const;

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  void SetStandardByCatalogue(CDev& element);
  std::string Catalogue() const;
  int InsertAlong(CDev& unit, std::int64_t count, std::int64_t spacing);

  bool m_withLength = true;
  std::string m_spacingText;
  std::string m_plugText;
  std::string m_countText = "1";
  std::int64_t m_spacing = kDefaultSpacing;
  std::int64_t m_plug = 0;
  std::int64_t m_count = 1;
  std::int64_t m_standard = 3000;
  std::int64_t m_minimum = 3000;
  std::int64_t m_maximum = 3000;
  int m_plugCaption = 2667;
  bool m_plugShown = true;
  bool m_plugEditable = true;
};

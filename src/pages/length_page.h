#pragma once

#include "pages/prop_page.h"

#include <cstdint>
#include <string>

class CDev;

// The length page of an element, in one of three modes chosen when it loads:
// - face: a face of the element is selected: its costed length (text 1) and drawn length
//   (text 2), with a box that keeps them equal;
// - variant: the whole element with a non-zero page word: the element field "LENGTH"
//   between the limits of the variant (text 1, with a scroll bar);
// - offset: the whole element with page word 0: the element's offset (text 1).
class CLengthPage : public CPropPage {
 public:
  enum class EMode { kFace, kVariant, kOffset };
  static constexpr int kActionElementEdit = 17520;
  // Face mode: the costed length's widest value.
  static constexpr std::int64_t kMaxFaceLength = 500000;
  // Offset mode: the widest offset.
  static constexpr std::int64_t kMaxOffset = 10000;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  EMode GetMode() const { return m_mode; }
  const std::string& GetText1() const { return m_text1; }
  const std::string& GetText2() const { return m_text2; }
  void SetText1(std::string text) { m_text1 = std::move(text); }
  void SetText2(std::string text) { m_text2 = std::move(text); }
  // The state of the "same" box: 0 off, 1 on, 2 on because the lengths are within 2 %.
  int GetSame() const { return m_same; }
  // Texts 1 and 2 parsed, with their unit, for the labels beside the edits.
  std::string GetLabel1() const;
  std::string GetLabel2() const;
  // Whether the drawn length can be edited apart (face mode with the box off).
  bool IsSecondEditable() const { return m_mode == EMode::kFace && m_same == 0; }
  // Whether the caption of text 1 names the unit's housing length (element kind 7).
  bool IsHousingLength() const { return m_housingLength; }
  // Variant mode: the limits and the value the scroll bar shows.
  std::int64_t GetMinimum() const { return m_minimum; }
  std::int64_t GetMaximum() const { return m_maximum; }
  std::int64_t GetValue() const { return m_value; }
  std::string GetMinimumLabel() const { return FormatLength(m_minimum); }
  std::string GetMaximumLabel() const { return FormatLength(m_maximum); }
  // Variant mode: the scroll bar's page step.
  std::int64_t GetPageStep() const { return (m_maximum - m_minimum) / 10; }

  // The "same" box clicked: true when it is now on and the page must apply at once.
  bool ToggleSame();
  // Variant mode: a scroll bar position, clamped, as text 1 (applied by the caller).
  void ScrollTo(std::int64_t position);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  CDev* Element() const;
  void LoadFace(const CDev& element);
  void LoadWhole(const CDev& element);
  void SetVariantLimits();
  CApplyOutcome ApplyFace(CDev& element);
  CApplyOutcome ApplyVariant(CDev& element);
  CApplyOutcome ApplyOffset(CDev& element);
  void ShareVariantChange(CDev& element, std::int64_t change);
  std::int64_t MinimumDrawnLength(const CDev& element) const;

  EMode m_mode = EMode::kOffset;
  std::string m_text1;
  std::string m_text2;
  std::string m_loadedText1;
  std::string m_loadedText2;
  int m_same = 0;
  bool m_housingLength = false;
  std::int64_t m_value = 0;
  std::int64_t m_minimum = 0;
  std::int64_t m_maximum = 0;
  // Variants without limits of their own keep the default last set.
  std::int64_t m_default = 0;
};

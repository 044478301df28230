#pragma once

#include "ranges/range_row_index.h"
#include "ranges/range_run.h"

#include <cstdint>
#include <string>
#include <string_view>

// A run of range QP: "QPA", "Qpa", "QPC" or "Qpc" by the variant's first letter ('A',
// 'a', 'C', any other); one cache set per code.
//
// References are 22 characters (places counted from 0): the code at 0-2, the rating code
// at 3-4, the part family from 5 on. The upper-case codes turn the rating code into
// amperes at the end of a rebuild (ExpandRatingInRef), which makes the text longer.
class CRunQP : public CRangeRun {
 public:
  // Run flags: the default mounting side is known, and its value.
  static constexpr std::uint32_t kSideCached = 0x40;
  static constexpr std::uint32_t kSideValue = 0x80;
  // The undo action of switching an element's option.
  static constexpr int kUndoOption = 17520;

  explicit CRunQP(std::string_view variant = "A", CRunDocument* document = nullptr);

  // The loader, called by the constructor.
  virtual void LoadCatalog(std::string_view variant);
  using CRangeRun::LoadCatalog;

  std::array<int, 5> GetLengthsPageArguments() const override;
  // 1 for "QPA" and "QPC".
  int IsUpperCase() const { return m_upperCase; }
  // 1 for "QPA" and "Qpa".
  int IsA() const { return m_a; }
  // The run's "QP_STEP" is not "0" and the code is upper case.
  bool IsStepMode() const;
  // The setting "RiserUK" of section "Design" (0 without an application).
  static int ReadRiserUK();

  std::unique_ptr<CPartBuilder> CreatePartBuilder() override;
  std::string GetElementRef(int kind) override;
  // The parts-list row of the reference; in step mode the lengths of the 'D' and "ET"
  // families are those of the step catalogue.
  CPatternRow FindPartRow(std::string_view reference) const override;
  CHousingDims GetHousingDims(const CDev& element) const override;
  int GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const override;
  void FillRefPattern(std::string& pattern) const override;
  void NormalizeRefCode(std::string& text) const override;
  std::optional<std::string> GetPriceFormula(std::string_view reference) override;
  std::vector<int> GetSubObjects(const CDev& element) const override;
  // 1 for the elbow page of an elbow of any code but "QPA", else 0.
  int GetPageWord(const CDev& element, int page) const override;
  std::string GetDeviceTextForSide(const CDev& device, int side) const override;
  // Mode 0 asks whether the element's combined elbow or riser piece has the option M (1),
  // has it not (-1) or takes none (0); 1 switches it on and -1 off, with an undo step.
  int AccessOption(CDev* element, int mode) override;

  // 22 '?' with the characters of the sparse code ('\0' for none) at their places.
  static std::string MakeWildcardRef(std::string_view sparse);
  // The run's pattern with the device-kind row of the element laid over it and the
  // rating code and mounting marks of the element's kind and variant.
  void CompleteDeviceRef(const CDev& element, std::string& buffer) const;
  // Upper-case codes: the rating code at places 3-4 (read up to place 5) turned into
  // amperes; true when the text changed.
  bool ExpandRatingInRef(std::string& reference) const;
  // 1 when the element is mounted on the reversed side (2 for a calibre-10 tap-off point
  // of variant A). Without an element, the run's default side, worked out once and kept
  // in the run flags; a positive side works it out again, a negative one ignores "MOUNT".
  int IsMountReversed(const CDev* element, int side) const override;
  // Whether a spring point goes with the joint (upper-case variant-A runs with "SPK").
  bool HasSpringPoint(const CDev& element) const;
  // The rating code of the calibre at places 3-4 as an element of the kind and variant
  // carries it; a calibre without a group leaves the places as they are.
  void LayRatingCode(int kind, int variant, std::string& buffer, int calibre) const;

 private:
  const CCodeRow* FindDeviceRow(int code, int variant) const;
  void MarkTapOffPoint(const CDev& element, std::string& buffer, int calibre) const;

  int m_upperCase = 0;
  int m_a = 0;
  mutable CRangeRowIndex m_index;
};

// Replaces each whole number of the text found among the pairs by its new text: "200"
// becomes "250" in "200-1995" but "2000" and "1200" stay.
std::string ReplaceWholeNumbers(
    std::string_view text,
    std::initializer_list<std::pair<std::string_view, std::string_view>> pairs);

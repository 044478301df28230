#pragma once

#include "pages/prop_page.h"

#include <cstdint>
#include <string>
#include <vector>

class CRunQG;

// The bar dimensions of a range QG special shape: U typed, V chosen among the sizes the
// range offers for the run's housing, T following from V; kept together in the element
// field "BARS" and checked against the element's centre distances.
class CShapeDimensionsPage : public CPropPage {
 public:
  static constexpr int kMsgOutOfRange = 61714;
  static constexpr std::int64_t kLowestU = 90;
  static constexpr std::int64_t kHighestU = 250;
  // Fields a refusal selects.
  static constexpr int kFieldU = 0;
  static constexpr int kFieldSize = 1;

  struct CSize {
    std::string text;  // the size as a length, or "2 x " and half of it
    std::int64_t size = 0;
    std::int64_t value = 0;
  };

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  const std::vector<CSize>& GetSizes() const { return m_sizes; }
  // -1: none.
  int GetSelected() const { return m_selected; }
  void SetSelected(int index) { m_selected = index; }
  // The sizes can be chosen and U typed only when the element has a bars option.
  bool HasOption() const { return m_option > 0; }
  const std::string& GetUText() const { return m_uText; }
  void SetUText(std::string text) { m_uText = std::move(text); }
  // T: the value of the selected size, as a length.
  std::string GetTText() const;
  // "(" lowest "..." highest ")" of U.
  std::string GetRangeText() const;

  // The sizes again from the element, U shown from the range.
  void FillSizes();

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  CRunQG* Range() const;
  // The warning of the centre distances against the bars, or empty.
  std::string DistanceWarning(std::int64_t v, std::int64_t t) const;

  std::vector<CSize> m_sizes;
  int m_selected = -1;
  int m_option = 0;
  std::string m_uText;
};

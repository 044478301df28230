#pragma once

#include "pages/prop_page.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The centre distance page of a QJ feed unit: the shape of its connection (one of six
// pictures, four on a reduced unit of variant 5), kept in bits 20-23 of both style words,
// and the centre distance "e" of its bars: the shape's standard, or a custom distance
// inside the shape's range, kept in the field "ENTRAX".
class CEntraxPage : public CPropPage {
 public:
  static constexpr int kReducedVariant = 5;
  static constexpr int kMsgOutOfRange = 61714;
  static constexpr int kMsgToBeSpecified = 30034;

  struct CShape {
    const char* code;
    std::int64_t standard;  // 0: none
    std::int64_t minimum;   // minimum and maximum 0: no custom range
    std::int64_t maximum;
  };

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  bool IsReduced() const { return m_reduced; }
  // The picture names in list order.
  const std::vector<std::string>& GetPictureNames() const { return m_pictures; }
  // -1: no shape chosen yet.
  int GetChoice() const { return m_choice; }
  // A picture chosen in the list: applied at once by the caller.
  void SetChoice(int choice) { m_choice = choice; }
  // The shape of the choice (1..6), 0 for none.
  int GetShapeNumber() const;
  // The shape's row; nothing for none.
  std::optional<CShape> GetShape() const;
  bool HasStandard() const;
  bool HasCustomRange() const;
  std::string GetStandardLabel() const;
  // "(" minimum "..." maximum ")" with their units.
  std::string GetRangeLabel() const;
  bool IsCustom() const { return m_custom; }
  // The custom radio chosen: the minimum as the text; the standard radio: no text.
  void ChooseCustom(bool custom);
  const std::string& GetCustomText() const { return m_customText; }
  void SetCustomText(std::string text) { m_customText = std::move(text); }

  // The shapes as the table holds them for a run of that rating.
  static CShape ShapeOf(int shape, int rating);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  void ApplyShape(CDev& element, int shape);
  CApplyOutcome ApplyDistance(CDev& element);
  void LoadDistance(const CDev& element);
  int Rating() const;

  bool m_reduced = false;
  std::vector<std::string> m_pictures;
  int m_choice = -1;
  bool m_custom = false;
  std::string m_customText;
};

#pragma once

#include "pages/clinq_rules.h"
#include "pages/prop_page.h"

#include <string>
#include <vector>

// The CLINQ page of ranges QG and QM: the connection piece of a feed or connection
// element (its shape among the pictures the element offers, its length L, its part
// combination, its type and, for made-to-measure shapes, its dimensions), kept in the
// element field "CLINQ".
class CClinqPage : public CPropPage {
 public:
  static constexpr int kMsgOutOfRange = 61714;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  const std::vector<int>& GetShapes() const { return m_shapes; }
  // The current shape value, -1 for none.
  int GetShape() const { return m_shape; }
  // A picture chosen: choosing the current one again leaves no shape.
  void ChooseShape(int value);
  const CClinqShape* GetShapeRow() const { return FindClinqShape(m_shape); }

  const std::string& GetLengthText() const { return m_lengthText; }
  void SetLengthText(std::string text) { m_lengthText = std::move(text); }
  bool IsLengthShown() const;
  bool IsLengthFixed() const;
  // "(" lowest "..." highest ")" of a typed length; empty otherwise.
  std::string GetLengthRange() const;
  // The spin of shape 5: 1000 and 600 in turn.
  void SpinLength();

  const std::vector<std::string>& GetCombinations() const { return m_combinations; }
  int GetCombination() const { return m_combination; }
  void SetCombination(int index) { m_combination = index; }
  bool IsCombinationEnabled() const;

  const CClinqTypes& GetTypes() const { return m_types; }
  int GetType() const { return m_type; }
  void SetType(int index) { m_type = index; }
  // The second text when the shape has no type list (message number, 0: none).
  int GetSecondText() const;

  bool IsDimensionsShown() const;
  bool IsDimensionsEnabled() const;
  // The width the dimension entry dialog shows for the chosen type.
  int GetDimensionsWidth() const;
  const CDimension& LengthUnits() const { return Units(); }
  bool IsRangeQM() const { return m_catalog.starts_with("QM"); }
  const std::string& GetParameters() const { return m_parameters; }
  void SetParameters(std::string text) { m_parameters = std::move(text); }

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  CClinqElement Describe() const;
  void ShowShape(int value, bool first);
  void FillTypes();
  void ReadBack(const CClinqStored& stored);
  int TypeValue() const;

  std::vector<int> m_shapes;
  int m_shape = -1;
  std::string m_catalog;
  bool m_sideFlag = false;
  std::string m_lengthText;
  std::vector<std::string> m_combinations;
  int m_combination = -1;
  CClinqTypes m_types;
  int m_type = -1;
  std::string m_parameters;
  int m_barSize = 0;
};

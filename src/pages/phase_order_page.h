#pragma once

#include "pages/prop_page.h"

#include <string>
#include <vector>

class CDev;
class CRun;

// The phase order page of an element: the order seen at the element, chosen by the user
// among the two plain orders, and the run's display flag. Every change is written to the
// run's flag word at once by its handler; there is nothing left to apply.
class CPhaseOrderPage : public CPropPage {
 public:
  static constexpr int kActionElementEdit = 17520;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  // The offered orders, in code order, with the run's neutral and earth marks.
  const std::vector<std::string>& GetLabels() const { return m_labels; }
  // The offered entry that is the order at the element; -1 when the order is none of them.
  int GetSelection() const { return m_selection; }
  bool IsUserOrder() const { return m_userOrder; }
  bool IsUserOrderEnabled() const { return m_userOrderEnabled; }
  bool IsOrderEnabled() const { return m_userOrder && m_userOrderEnabled; }
  bool IsDisplayFlag() const { return m_displayFlag; }

  // The order chosen by the user box: checked keeps the run's code; cleared resets it to
  // the range's default.
  void OnUserOrderCheck(bool checked);
  // An offered entry chosen: the run's code becomes the one that gives it at the element.
  void OnOrderChange(int index);
  void OnDisplayFlagCheck(bool checked);

  // All labels of the six codes for a run's "Neutral" and "Catalog" properties.
  static std::vector<std::string> OrderLabels(const std::string& neutral,
                                              const std::string& catalog);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override { return Unchanged(); }

 private:
  CDev* Element() const;
  void SelectOrderAtElement(const CDev& element);
  void WriteFlags(CRun& run, std::uint32_t flags, bool rebuildScene);

  std::vector<std::string> m_labels;
  int m_selection = -1;
  bool m_userOrder = false;
  bool m_userOrderEnabled = false;
  bool m_displayFlag = false;
};

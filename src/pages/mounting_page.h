#pragma once

#include "pages/prop_page.h"

#include <array>
#include <string>

class CRangeRun;

// The mounting page of a device of ranges QD and QP: the side of the trunking it is
// mounted on and, for variant-5 elements, the conductor arrangement. The range decides
// the default side; the element's "MOUNT" keeps only the difference ("INV", or "L" and
// "R" where the default is the third position), "POL" the arrangement.
class CMountingPage : public CPropPage {
 public:
  static constexpr int kPolarityVariant = 5;
  // The arrangements in list order: "3L+N+PE", "3L+PE", "3L+PEN".
  static constexpr std::array<int, 3> kPolarities = {4, 3, 5};

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  // The side shown: 0, 1 or 2.
  int GetSide() const { return m_side; }
  bool IsThirdSideShown() const { return m_thirdShown; }
  bool IsPolarityShown() const { return m_polarityShown; }
  int GetPolarityIndex() const { return m_polarityIndex; }

  // The user chose a side (applied at once); the flip button goes between 1 and 0.
  CApplyOutcome ChooseSide(int side);
  CApplyOutcome Flip() { return ChooseSide(m_side == 1 ? 0 : 1); }
  CApplyOutcome ChoosePolarity(int index);

  // The "MOUNT" text that puts the element on the side, given the range's default.
  static std::string MountTextFor(int side, int defaultSide);

 protected:
  void DoLoad() override;
  // The page applies each choice as it is made.
  CApplyOutcome DoApply() override { return Unchanged(); }

 private:
  CRangeRun* Range() const;

  int m_side = 1;
  bool m_thirdShown = false;
  bool m_polarityShown = false;
  int m_polarityIndex = 0;
};

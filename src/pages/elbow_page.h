#pragma once

#include "pages/prop_page.h"

#include <string>
#include <string_view>

// The elbow page: a special angle (field "ELBOW_ANGL", 90..179 degrees) and a special
// length (field "ELBOW_LENG") of an elbow. The page word is a set of flags: 1 offers no
// angle (the elbow stays at 90), 2 offers the special length.
class CElbowPage : public CPropPage {
 public:
  static constexpr int kNoAngle = 1;
  static constexpr int kLengthOffered = 2;
  static constexpr int kStandardAngle = 90;
  static constexpr int kLargestAngle = 179;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  bool IsSpecialAngle() const { return m_specialAngle; }
  bool IsSpecialLength() const { return m_specialLength; }
  const std::string& GetAngleText() const { return m_angleText; }
  void SetAngleText(std::string text) { m_angleText = std::move(text); }
  // What the page offers, by its flags and the run's parts state.
  bool IsAngleShown() const { return (GetVariant() & kNoAngle) == 0; }
  bool IsAngleBoxEnabled() const { return IsAngleShown() && !m_partsBuilt; }
  bool IsAngleEditable() const { return m_specialAngle && !m_partsBuilt; }
  bool IsLengthShown() const { return (GetVariant() & kLengthOffered) != 0; }
  bool IsLengthBoxEnabled() const { return !m_partsBuilt && !m_specialAngle; }
  // Catalogues of range QW name the special angle's extra condition beside the box.
  bool IsAngleCaptionExtended() const { return m_extendedCaption; }

  // The special-angle box clicked: off puts the angle back to 90 (true: reload and
  // apply); on clears the special length.
  void ToggleSpecialAngle();
  // The special-length box clicked (applied with the next apply).
  void SetSpecialLength(bool on) { m_specialLength = on; }

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  bool m_specialAngle = false;
  bool m_specialLength = false;
  bool m_partsBuilt = false;
  bool m_extendedCaption = false;
  std::string m_angleText;
};

// The angle stored in "ELBOW_ANGL": absent, 0 or unreadable reads as 90.
int StoredElbowAngle(std::string_view stored);
// A typed angle as the catalogue makes it: QP elbows come in steps of 5 degrees up to
// 175; other catalogues take the angle as typed.
int RoundElbowAngle(int angle, std::string_view catalog);

#pragma once

#include "pages/prop_page.h"
#include "pages/phase_arrangement.h"
#include "pages/special_shape_check.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CDev;
class CRunQG;

// The special-shape pages of ranges QG and QM: the end piece at a feed unit (how the
// bars leave it and their centre distances, in "ENTRAX" and the bars nibble of the style
// words) and the cover that closes it (its model and dimensions, in "CAPOT"). One class
// serves both; the limits of the six fields come from CheckDimensions.
class CSpecialShapePage : public CPropPage {
 public:
  static constexpr int kMsgOutOfRange = 61714;
  enum ESpacing { kStandard = 0, kEqual = 1, kFree = 2 };

  explicit CSpecialShapePage(bool endPiece) : m_endPiece(endPiece) {}

  int GetPageKind() const override;
  int GetCaptionMessage() const override;
  bool IsEndPiece() const { return m_endPiece; }

  struct CPicture {
    std::string image;
    int value;  // the end piece's list position, or the cover code
  };
  const std::vector<CPicture>& GetPictures() const { return m_pictures; }
  // The list entry shown, -1 for none.
  int GetSelected() const;
  // A picture chosen by the user; choosing the current cover again leaves none.
  void ChoosePicture(int index);

  // The caption of the chosen picture: a message number, or a text of its own.
  int GetCaptionNumber() const { return m_captionNumber; }
  const std::string& GetCaptionText() const { return m_captionText; }

  struct CField {
    bool shown = false;
    bool enabled = false;
    std::string label;
    std::string text;
  };
  const std::array<CField, kShapeFieldCount>& GetFields() const { return m_fields; }
  void SetFieldText(int field, std::string text);

  bool IsSpacingShown(int spacing) const;
  int GetSpacing() const { return m_spacing; }
  void ChooseSpacing(int spacing);
  // The equal spacing copies Q to the other distances.
  void CopyEqualSpacing();

  bool IsTurnShown() const;
  bool IsTurnChecked() const { return m_turnChecked; }
  // The turn button clicked: a plain toggle, or the four-way cycle of a range QG piece; on
  // the range QG cover the swap of its sides, refused while a dimension is out of limits.
  CApplyOutcome Turn();

  // The phase arrangement of a range QM variant-6 end piece (empty list elsewhere).
  std::vector<std::string> GetArrangements() const;
  int GetArrangementIndex() const;
  bool IsArrangementEnabled() const;
  // An entry chosen: taken (true) once the four dimensions hold; the caller applies then.
  bool ChooseArrangement(int index);
  bool IsOptionShown() const { return IsQGCover() && m_shape > 0 && !IsWide(); }
  bool IsOptionChecked() const { return m_option; }
  void SetOption(bool checked);
  bool IsDimensionsShown() const { return IsOptionShown(); }
  const std::string& GetParameters() const { return m_parameters; }
  void SetParameters(std::string text) { m_parameters = std::move(text); }
  const CDimension& LengthUnits() const { return Units(); }

  // The limits of the field as the page shows them when it takes the focus; false when
  // the field cannot take it.
  bool ShowLimits(int field, CLimitText& limits);
  // The field left: its value stored and checked, without a message.
  bool LeaveField(int field);

  // The state the limits work on (for tests).
  const CShapeCheckState& State() const { return m_state; }

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  bool IsQG() const { return m_state.rangeQG; }
  bool IsQGCover() const { return m_endPiece == false && IsQG(); }
  bool IsWide() const { return IsQGCover() && m_state.width > 1200; }
  CRunQG* RangeQG() const;
  void LoadDerived();
  void FillPictures();
  void FillEndPictures();
  void FillCoverPictures();
  void ReadEntrax();
  void ReadCover();
  void ComputeQGSizes();
  void ShowShape(int value, bool user);
  void ShowEndPiece(bool user);
  void ShowQGEnd(bool user);
  void ShowQMChant(bool user);
  void ShowCover();
  void EnableSpacingFields();
  void FillTexts();
  // The controls' states into what the limits look at.
  void SyncFields();
  std::int64_t* Member(int field);
  std::int64_t Typed(int field) const;
  CLengthFormat Formatter() const;
  std::vector<int> ApplyOrder() const;
  std::string BuildEntrax() const;
  std::string BuildCapot() const;
  std::uint32_t StyleFor(const CDev& element) const;
  int BarsNibble() const;
  std::optional<CApplyOutcome> CheckFields(const std::vector<int>& fields, ECheckMode mode);
  CArrangementPlace ArrangementPlace() const;

  bool m_endPiece;
  std::vector<CPicture> m_pictures;
  int m_shape = -1;
  int m_bars = -1;  // the end piece's position read from the bars nibble, -1 none
  CShapeCheckState m_state;
  std::array<CField, kShapeFieldCount> m_fields;
  int m_captionNumber = 0;
  std::string m_captionText;
  int m_spacing = kFree;
  int m_turnState = 0;
  bool m_turnChecked = false;
  bool m_option = false;
  bool m_plate = false;
  bool m_noNeutral = false;
  bool m_entraxEmpty = true;
  int m_pictureCode = 0;
  int m_connection = 0;
  std::string m_parameters;
  bool m_partsBuilt = false;
  CArrangementPlace m_place;
};

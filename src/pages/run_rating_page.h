#pragma once

#include "pages/prop_page.h"

#include <string>
#include <vector>

class CRun;

// The rating page of a run: its catalogue (and so its range), rating, neutral and
// ambient temperature with the current the rating then carries, and for catalogue "QMA"
// the colour. Every list applies its choice at once; the typed current applies on Enter
// or when the page is left. A catalogue of another range replaces the run: the page's
// run is gone afterwards and the property window shows the new one.
class CRunRatingPage : public CPropPage {
 public:
  static constexpr int kActionRunRating = 21104;
  // A typed current that is not a whole number of amperes of at least 1.
  static constexpr int kMsgCurrentRefused = 31571;
  // The field a refusal selects again: the current box.
  static constexpr int kFieldCurrent = 1;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  // Lists as the page shows them, with the chosen entry (-1: none).
  const std::vector<std::string>& GetCatalogueTexts() const { return m_catalogueTexts; }
  int GetCatalogueChoice() const { return m_catalogueChoice; }
  const std::vector<std::string>& GetRatingTexts() const { return m_ratingTexts; }
  int GetRatingChoice() const { return m_ratingChoice; }
  bool IsNeutralShown() const { return m_neutralShown; }
  const std::vector<std::string>& GetNeutralTexts() const { return m_neutralTexts; }
  int GetNeutralChoice() const { return m_neutralChoice; }
  const std::vector<std::string>& GetTemperatureTexts() const { return m_temperatureTexts; }
  int GetTemperatureChoice() const { return m_temperatureChoice; }
  // The current of the chosen rating at the chosen temperature ("%d A"), or empty.
  const std::string& GetCurrentText() const { return m_currentText; }
  bool IsColourShown() const { return m_colourShown; }
  int GetColourChoice() const { return m_colourChoice; }

  // What the user typed in the current box, applied by Apply.
  void SetTypedCurrent(std::string text) { m_typedCurrent = std::move(text); }

  // Choices of the lists, applied at once. An index outside the list is refused.
  CApplyOutcome OnCatalogueChange(int index);
  CApplyOutcome OnRatingChange(int index);
  CApplyOutcome OnNeutralChange(int index);
  CApplyOutcome OnTemperatureChange(int index);
  void OnColourChange(int index);
  // The rating that carries the typed current at the chosen temperature, chosen.
  CApplyOutcome OnCurrentEntered(const std::string& text);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  CRun* Run() const;
  void LoadCatalogues(const CRun& run);
  void LoadRatings(const CRun& run);
  void LoadNeutrals(const CRun& run);
  void LoadTemperatures(const CRun& run);
  void ShowCurrent(const CRun& run);
  void FollowRating(CRun& run);
  double ChosenFactor() const;

  std::vector<int> m_catalogues;  // indexes of the offered entries
  std::vector<std::string> m_catalogueTexts;
  int m_catalogueChoice = -1;
  std::vector<int> m_ratings;
  std::vector<std::string> m_ratingTexts;
  int m_ratingChoice = -1;
  bool m_neutralShown = false;
  std::vector<int> m_neutrals;
  std::vector<std::string> m_neutralTexts;
  int m_neutralChoice = -1;
  std::vector<double> m_factors;
  std::vector<int> m_temperatures;
  std::vector<std::string> m_temperatureTexts;
  int m_temperatureChoice = -1;
  std::string m_currentText;
  std::string m_typedCurrent;
  bool m_colourShown = false;
  int m_colourChoice = 0;
};

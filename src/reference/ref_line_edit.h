#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "reference/ref_choice_captions.h"
#include "reference/ref_config.h"
#include "reference/ref_line.h"
#include "reference/ref_products.h"

class CLinearNotifier;

// The component families of a line, by their place among the family choices.
enum RefFamily : int {
  kFamilyFeed,
  kFamilyStraight,
  kFamilyComplement,
  kFamilyFixing,
  kFamilyLuminaireFixing,
};

// Control numbers of the line page that the rules fill (the window shows them).
enum RefLineControl : int {
  kEditFeedCount = 1164,
  kEditEndClosureCount = 1165,
  kEditStraightCount = 1169,
  kEditComplementCount = 1170,
  kEditFixingCount = 1171,
  kEditComponent8Count = 1172,
  kEditLuminaireFixingCount = 1173,
  kCaptionFeed = 1353,
  kCaptionStraight = 1356,
  kCaptionComplement = 1357,
  kCaptionFixing = 1358,
  kCaptionLuminaireFixing = 1360,
  kStaticDistribution = 1370,
  kStaticEquipment = 1372,
  kCheckPosition1 = 1476,
  kCheckPosition2 = 1477,
};

// What the line page of the configurator holds while a line is edited: the working
// line, the count edit, the family choices and the family count edits, the captions the
// rules write, and the modes that steer them. The rules of component choice and the
// line defaults work on it; the window only shows it and hands the user's edits in.
class CRefLineEditContext {
 public:
  static constexpr int kMaxCount = 9999;

  CRefLineEditContext(CRefConfig& config, CRefLine& line, CLinearNotifier* notifier = nullptr);

  CRefConfig& Config() { return m_config; }
  CRefLine& Line() { return m_line; }
  const CRefLine& Line() const { return m_line; }

  // Values the user or the page gives.
  int count = 0;                 // edit 1341: luminaires or tap-offs of the line
  std::array<int, 5> choices{};  // the chosen member of each family (component index)
  bool connectionFlag = false;   // the line is spread over three tap-off slots (96-98)
  int lightingFixingCode = 0;    // set by the lighting calculation for the next count
  char decimalSeparator = '.';
  std::array<int, 6> params{};       // P0..P5 of the line defaults
  std::map<int, int> edits;          // count edits by control number
  std::map<int, std::string> texts;  // captions and statics by control number
  std::map<int, bool> enabled;       // count edits and spins by control number
  std::map<int, bool> checks;        // check boxes 1476 and 1477

  int Edit(int control) const;
  bool Checked(int control) const;

  // Choice tables: kind 1 the product's component states reduced for the line (the
  // reduction may move the family choices and clear line counts); kind 2 its ratings up
  // to CALMAX; kind 3 its connection flags; kind 4 its option slots. Empty otherwise.
  std::vector<int> GetChoiceTable(int kind);

  // The component counts: 0 all, 1 the feed, 2 straight elements and complements, 3 the
  // fixing, 5 the distribution only. A count above 9999 is kept at 9999 and told once.
  void ComputeComponentCounts(int which);
  // Writes a count (held to 0..9999) into its family's edit.
  void SetComponentCount(int component, std::int64_t value);
  // The chosen member of each family takes its family's count, the other members 0.
  void StoreFamilyCounts();
  // The length the straight run covers and the length of one element, in centimetres,
  // as the counting rules measure them (QFP lines count metres: an element of 100).
  struct RunMeasure {
    std::int64_t lengthCm = 0, elementCm = 0;
  };
  RunMeasure MeasureRun();

  void TallyItemSlots();
  void DistributeItemSlots(int mode, bool on, bool record);
  void UpdateDistributionChecks();

  // The choice panel (or the equipment dialog for 7) closed with OK; member is the
  // component it chose for a family (ignored by the other kinds).
  void ChooseComponent(int which, int member);
  // The option dialogs of a line: 0 brings the line's sections to the count before the
  // sections dialog opens (that dialog edits the sections itself); after OK, 1 the fixing
  // (member) and cable range (cableRange, as the dialog numbers it), 3 the equipment
  // quantities.
  void EditLineOptions(int which, int member = -1, int cableRange = -1);

  // The six line parameters for a line's product.
  void ApplyLineDefaults(const CRefLine& line);

  // The caption context of DescribeChoice for this line.
  CRefChoiceContext ChoiceContext() const;

  // A QYX length as the user typed it: the whole metres into the line's length (held to
  // 0..9999) and up to two decimals into component 36 as 100 + hundredths ("6.5" stores
  // 150, "6.05" 105; 0 without decimals).
  void SetQyxLengthText(const std::string& text);
  // The hundredths of a metre that component 36 adds to a QYX line's length.
  static int QyxExtraCentimetres(std::int32_t component36);

 private:
  int Kind() const { return m_line.productKind; }
  bool Offered(const std::vector<int>& table, int component) const;
  int& Choice(RefFamily family) { return choices[static_cast<std::size_t>(family)]; }
  int ChoiceOf(RefFamily family) const { return choices[static_cast<std::size_t>(family)]; }
  void ReduceComponents(std::vector<int>& table);
  void ReduceQy(std::vector<int>& table);
  void ReduceQp(std::vector<int>& table);
  void CountFeed(const std::vector<int>& table, int which);
  // A line's straight run: its length (rounded to the element step where the mode asks),
  // its elements, the step in metres and, for QYX, the length in centimetres.
  struct StraightRun {
    std::int64_t length = 0, count = 0, step = 0, centimetres = 0;
  };
  void CountStraight(const std::vector<int>& table);
  void MeasureStraight(const std::vector<int>& table, StraightRun& run);
  std::int64_t Component8Share(std::int64_t elements) const;
  std::int64_t CountComplements(const std::vector<int>& table, const StraightRun& run);
  void CountFixings(const std::vector<int>& table, int which);
  void CountQfpSections(const std::vector<int>& table);
  void CountQfpWithoutSections(const std::vector<int>& table);
  void AddToComponent(const std::vector<int>& table, int component, std::int64_t amount);
  void StoreComponent(int component, std::int64_t value);
  void UpdateItemSlots();
  void SpreadEvenly();
  bool PlaceCount(std::int32_t code);
  void ShowDistribution(int units);
  int ConnectionRecordIndex() const { return m_line.lineMode == 3 ? 9 : Kind(); }
  int State48(const std::vector<int>& table) const { return table.size() > 48 ? table[48] : 0; }
  void DescribeFamily(RefFamily family, int member);

  CRefConfig& m_config;
  CRefLine& m_line;
  CLinearNotifier* m_notifier;
  bool m_overflow = false;
  bool m_quietDisplay = false;
};

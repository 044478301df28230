#pragma once

#include <array>
#include <string>
#include <vector>

#include "linear/linear_products.h"

class CLinearLine;
class COptionListFiles;
class CRefCoffTable;

inline constexpr int kGroupEntryCount = 20;
inline constexpr int kOptionCount = 35;

// The option lists of the linear window: which products, conductor configurations and
// variants each of the four groups offers, and per range and variant which slots a line
// offers ("lin_conf.cfg" in the settings folder, over built-in defaults), with the
// choice tables derived from them.
class CLinearConfig {
 public:
  using GroupEntries = std::array<int, kGroupEntryCount>;
  using OptionTable = std::array<int, kOptionCount>;
  using QyList = std::array<int, 5>;

  // The ranges of the option tables, by index, with their section prefix.
  enum Range : int {
    kRangeQM,
    kRangeQW,
    kRangeQP,
    kRangeQJ,
    kRangeQD,
    kRangeQY,
    kRangeQF,
    kRangeQYX
  };
  static constexpr int kRangeCount = 8;

  CLinearConfig();

  // Reads lin_conf.cfg of the settings folder (ending with '/') over the built-in
  // defaults. At the first read of a program run lin_conf.all is deleted and rewritten
  // with every key and its default. copper and apod are [Design] "Copper" and "APOD";
  // refCoff (may be null) completes the tap-off entries 30..34. Without a lin_conf.cfg
  // of the user's, sampleFile (the program's own option list, when given) is read in its
  // place, so that a new user is offered the sample products. Returns 1.
  int ReadLinearConfig(const std::string& settingsFolder, int copper, int apod,
                       const CRefCoffTable* refCoff, const std::string& sampleFile = {});

  // Makes the next read the first of the run again (tests; a new program run).
  static void ResetRunFlag();

  bool Apod() const { return m_apod; }
  const GroupEntries& Entries(int group) const { return m_entries[Clamp(group)]; }
  const GroupEntries& Ranks(int group) const { return m_ranks[Clamp(group)]; }
  // A group offers at least one product, configuration and variant.
  bool IsAvailable(int group) const { return m_available[Clamp(group)]; }

  // The option table of a product (0..11) in a group, before the line's adjustments.
  const OptionTable& OptionTableFor(int product, int group) const;
  OptionTable& OptionTableFor(int product, int group);
  const QyList& QyBoxList() const { return m_qyList; }

  // The choice tables. Kind 0: the 20 group ranks of the line's group (group 3 drops
  // configurations 12, 13 without variant 18 and 14..16 without variant 19); kind 1:
  // the line's option table adjusted for its product, rating and degree; kind 2: the
  // rating table, 12 products x 10 places (0 = no rating); kind 3: the support table,
  // 12 products x 8 entries (configurations 12..17, variants 18 and 19), for the line's
  // group. Any other kind: empty.
  std::vector<int> GetChoiceTable(int kind, const CLinearLine& line) const;
  OptionTable LineOptionTable(const CLinearLine& line) const;
  static std::vector<int> RatingsOf(int product, bool apod);
  static std::array<int, 8> SupportOf(int product, int group);

 private:
  static int Clamp(int group) { return group < 0 ? 0 : group > 3 ? 3 : group; }
  void ComputeRanks(int group);
  void ReadRangeSection(COptionListFiles& lists, int range, int group,
                        const CRefCoffTable* refCoff);
  void ReadChoiceOption(const COptionListFiles& lists, const std::string& section, int range,
                        const std::string& text, int& entry);
  OptionTable* TableOf(int range, int group);

  bool m_apod = false;
  std::array<GroupEntries, kLinearGroupCount> m_entries{};
  std::array<GroupEntries, kLinearGroupCount> m_ranks{};
  std::array<bool, kLinearGroupCount> m_available{};
  std::array<OptionTable, 3> m_qm{}, m_qw{};
  std::array<OptionTable, 2> m_qp{};
  OptionTable m_qj{}, m_qd{}, m_qy{}, m_qf{}, m_qyx{};
  QyList m_qyList{};
};

// The built-in defaults of the option lists.
namespace linear_defaults {
const CLinearConfig::GroupEntries& GroupEntries(int group);
// The option table of a range (CLinearConfig::Range) and variant.
CLinearConfig::OptionTable OptionTable(int range, int variant);
// The key of option o in a range and group; empty when the option has no key.
std::string OptionKey(int range, int group, int option);
}  // namespace linear_defaults

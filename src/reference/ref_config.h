#pragma once

#include <array>
#include <string>
#include <string_view>

class CDorneApp;
class CProfile;

// Where the option lists lie and the settings they are read with.
struct CRefConfigSetup {
  std::string settingsFolder;   // holds TVR.INI and the option lists; ends with '/'
  std::string sampleFile;       // the program's own ref_conf.cfg, read when the user has none
  std::string catalogueFolder;  // REF_COFF.DBF completes the connection choices
};

// The folders of the application: its settings folder, the sample list beside the
// program and its catalogue.
CRefConfigSetup RefConfigSetupFor(const CDorneApp& app);

// What the option lists offer of one product: option optionSlots 0-7 (0 not offered, n >= 1
// offered with value n) and CALMAX (slot 8, the largest rating; 0 = product not
// offered), the 56 component states (0 not offered; odd: offered with a count the user
// cannot edit; even: editable) and the ratings in amperes, ascending (0 = empty place).
struct CRefProductOptions {
  std::array<int, 9> optionSlots{};
  std::array<int, 56> states{};
  std::array<int, 10> ratings{};

  int CalMax() const { return optionSlots[8]; }
};

// The option lists of costing by reference: ref_conf.cfg in the settings folder over the
// built-in tables of the nine products, with the mode switches of TVR.INI. ref_conf.all
// is written with every key and its default by the first load of a program run.
class CRefConfig {
 public:
  static constexpr int kConnectionRecords = 10;  // products 0-8, and 9 for the QYA tap-offs
  static constexpr int kStateCount = 56;
  static constexpr int kSpecialModeCount = 4;
  static constexpr const char* kListName = "ref_conf";

  using Record = std::array<int, 5>;

  // The settings read when the configurator is made: the special mode (ref_conf.cfg
  // [Special] "Special", else TVR.INI [Ref] "Special"; values outside 0..3 read as 0),
  // the product coefficients of TVR.INI [Ref], [Comp] "MO", [Ref] "Refs" and "RefGrp".
  void ReadSettings(const CProfile& profile, const CRefConfigSetup& setup);
  void SetSpecialMode(int mode) {
    m_specialMode = mode >= 0 && mode < kSpecialModeCount ? mode : 0;
  }

  // Fills the tables from the option lists; TVR.INI gives [Design] "Copper" and "APOD".
  // Returns 1.
  int LoadRefConfig(const CProfile& profile, const CRefConfigSetup& setup);
  // Writes the connection choices of the first three products back to ref_conf.cfg (the
  // configurator does it when it goes). False when the file could not be written.
  bool WriteConnectionChoices(const CRefConfigSetup& setup) const;

  // The section of a product in the option lists ("QUE" for QYA in special mode 1,
  // "-APOD" after Qpc and Qpa); empty outside 0..8.
  std::string SectionOf(int product) const;

  int SpecialMode() const { return m_specialMode; }
  int Refs() const { return m_refs; }
  int RefGroup() const { return m_refGroup; }
  int CompMo() const { return m_compMo; }
  double Coefficient(int product) const;
  // What the price panel applies; a product outside 0..8 changes nothing.
  void SetCoefficient(int product, double value);
  void SetCompMo(int mo) { m_compMo = mo; }
  void SetRefGroup(int refGroup) { m_refGroup = refGroup; }
  void SetRefs(int refs) { m_refs = refs; }

  // The tables; an index outside its range gives an empty entry.
  const CRefProductOptions& Product(int product) const;
  CRefProductOptions& Product(int product);
  const Record& Connection(int record) const;
  Record& Connection(int record);
  const std::array<int, 4>& QyaPairs() const { return m_qyaPairs; }
  const std::array<int, 9>& QfpPositions() const { return m_qfpPositions; }
  std::array<int, 9>& QfpPositions() { return m_qfpPositions; }
  bool ProductOffered(int group, int product) const;
  bool GroupOffered(int group) const;

 private:
  void LoadProduct(class COptionListFiles& lists, int product, int copper, int apod,
                   const CRefConfigSetup& setup);
  void ReadConnections(COptionListFiles& lists, int product, CRefProductOptions& options,
                       const CRefConfigSetup& setup);
  void SetProductFlags();

  int m_specialMode = 0;
  int m_refs = 0;
  int m_refGroup = 0;
  int m_compMo = 0;
  std::array<double, 9> m_coefficients{1, 1, 1, 1, 1, 1, 1, 1, 1};
  std::array<CRefProductOptions, 9> m_products{};
  std::array<Record, kConnectionRecords> m_connections{};
  std::array<int, 4> m_qyaPairs{1, 1, 0, 0};
  std::array<int, 9> m_qfpPositions{-1, -1, -1, -1, -1, -1, -1, -1, -1};
  std::array<std::array<bool, 9>, 4> m_productFlags{};
  std::array<bool, 4> m_groupFlags{};
};

// The built-in tables of the option lists and their keys.
namespace ref_defaults {
// The product's defaults as the load starts from them, with the special mode's changes.
CRefProductOptions ProductOptions(int product, int specialMode);
// The key of a component index for a product; empty when the index has none.
std::string ComponentKey(int product, int component);
// The connection flags of a product (choice table kind 3) in a special mode.
std::array<int, 5> ConnectionFlags(int product, int specialMode);
}  // namespace ref_defaults

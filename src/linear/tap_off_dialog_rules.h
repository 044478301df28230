#pragma once

#include "linear/ref_coff_table.h"
#include "model/tapoff/tap_off_choice.h"

#include <string>
#include <string_view>
#include <vector>

// What the tap-off dialog offers for a run's product: the rows of REF_COFF.DBF under the
// product code, sorted into functions 1..8 and their sub-functions, the texts shown for
// them, and the remembered choice it preselects and sets.
class CTapOffDialogRules {
 public:
  static constexpr std::size_t kMaxRows = 200;
  static constexpr int kUnknownSubFunction = 63;
  static constexpr int kResultOk = 1;
  static constexpr int kResultDistribute = 6;

  // The rows whose PROD begins with the code (a leading "?" dropped), at most kMaxRows;
  // rows whose PARAM is not "digit, any, digit or ?" are left out.
  void Load(const CRefCoffTable& table, std::string_view productCode);

  int Family() const { return m_family; }
  const std::vector<CTapOffRecord>& Rows() const { return m_rows; }
  // Ascending, each once.
  std::vector<int> Functions() const;
  std::vector<int> SubFunctions(int function) const;
  // Rows of the function and sub-function, by index into Rows().
  std::vector<int> RowsOf(int function, int subFunction) const;
  // The rows for the device buttons beside a chosen row: the rows of its function and
  // sub-function with its type text, at most ten (four for function 6).
  std::vector<int> DeviceRows(int chosen) const;
  // The row of the remembered choice; -1 when none matches.
  int PreselectedRow() const;

  // The message naming the sub-function: 0 for an empty name, -1 for "?".
  static int SubFunctionMessage(int subFunction, int function, int family);
  // Its name: the message's text; where the family has none, the type text of its first
  // row that has one, else "?".
  std::string SubFunctionName(int subFunction, int function) const;
  std::string FunctionButtonText(int function) const;
  std::string RowLabel(int row) const;
  std::string DeviceButtonText(int row) const;
  static std::string ShownReference(std::string_view reference);

  // OK with a device row: the remembered choice becomes that row (its mask computed when
  // the row has none); kResultDistribute when automatic distribution was asked for.
  int Accept(int row, bool distribute) const;

 private:
  std::vector<CTapOffRecord> m_rows;
  int m_family = 0;
};

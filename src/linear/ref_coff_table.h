#pragma once

#include <array>
#include <string>
#include <vector>

// The component table REF_COFF.DBF as the linear window reads it: the catalogue rows of
// the tap-off boxes and other components of quantity slots 30..129. Loaded whole once
// and held by product, so that no line scans the table.
class CRefCoffTable {
 public:
  struct Row {
    std::string prod;   // as stored, blank-padded ("QM  ")
    std::string param;  // trimmed
    std::string pos;
    int fct = 0;
    std::string cal;
    std::string pol;  // the type label of a rating position, when the table has POL
    std::string ip1, ref1, typ1;
    std::string ip2, ref2, typ2;
    // RAT1..RAT6 when the table has them: a tap-off unit's sizes and front offsets.
    std::array<int, 6> ratings{};
  };

  // Loads REF_COFF.DBF of the catalogue folder. apod picks the product codes the rows
  // are filed under (Qpa/Qpc). False with Error() set when the table cannot be read.
  bool Load(const std::string& catalogueFolder, bool apod);
  bool IsLoaded() const { return m_loaded; }
  const std::string& Error() const { return m_error; }

  // The rows of a product (0..11, or 12 for QYL) in table order: PROD beginning with
  // "Q", the range letter and a blank; products QYA, QYB and QFP also take the rows of
  // "QYQF"; QYL takes the rows of "QYL".
  const std::vector<const Row*>& RowsFor(int product) const;

  // Every row, in table order.
  const std::vector<Row>& Rows() const { return m_rows; }

  // True when the row is meant for the linear window: PARAM empty or holding "L".
  static bool IsLinearRow(const Row& row);

 private:
  std::vector<Row> m_rows;
  std::array<std::vector<const Row*>, 13> m_byProduct;
  std::string m_error;
  bool m_loaded = false;
};

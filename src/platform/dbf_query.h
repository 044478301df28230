#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tvr::platform {

class CDbfTable;

// A selection of a table's records by a dBase filter expression, in physical order or
// in the order of a sort on fields.
//
// Filter grammar (letter case of field names and operators ignored):
//   or      := and { ".OR." and }
//   and     := not { ".AND." not }
//   not     := ".NOT." not | primary
//   primary := "(" or ")" | FIELD ( "=" | "<>" | "#" ) LITERAL
//   LITERAL := 'text' | "text"
// For character, date and logical fields, FIELD = 'x' holds as in dBase with exact
// comparison off: the field's stored bytes (blank-padded) begin with the literal encoded
// into the table's code page; letter case counts and '?' is an ordinary character.
// For N, F and I fields the literal must be a number and the values are compared.
// "<>" and "#" are the negation of "=". An empty expression selects every record.
//
// Sort: field names separated by ',' (or '+'); character fields by their bytes, N, F
// and I by value; equal keys keep the physical order.
//
// Deleted records are selected like any other; callers ask the table.
class CDbfQuery {
 public:
  // The table must outlive the query and keep its fields.
  explicit CDbfQuery(const CDbfTable& table);
  ~CDbfQuery();
  CDbfQuery(CDbfQuery&&) noexcept;
  CDbfQuery& operator=(CDbfQuery&&) noexcept;

  // False with Error() naming the fault and its position when the expression is not
  // valid; the query then selects nothing until a valid one is set.
  bool SetQuery(std::string_view expression);
  // False with Error() set for an unknown field; the selection is then empty.
  bool SetSort(std::string_view fields);
  const std::string& Error() const;

  // Record numbers of the selected records, in sort order.
  std::vector<std::uint32_t> Select() const;
  // True when the record passes the filter.
  bool Matches(std::uint32_t recno) const;

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace tvr::platform

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dbf_query.h"

namespace tvr::platform {

class CDbfTable;

// Walks the records of a table that a query selects, in its sort order, by moving the
// table's cursor: after Top or Skip returned true, the table's fields read the row.
// The selection is taken when Top is called; changing the query or the sort afterwards
// takes effect at the next Top.
class CDbfRelation {
 public:
  // The table must outlive the relation.
  explicit CDbfRelation(CDbfTable& table);

  // As CDbfQuery::SetQuery and SetSort. After a failure Top finds no rows.
  bool SetQuery(std::string_view expression);
  bool SetSort(std::string_view fields);
  const std::string& Error() const;

  // To the first selected row; false (and the table at its end) when there is none.
  bool Top();
  // To the next selected row; false at the end of the rows.
  bool Skip();
  bool AtEnd() const;

 private:
  bool Show();

  CDbfTable* m_table;
  CDbfQuery m_query;
  std::vector<std::uint32_t> m_rows;
  std::size_t m_position = 0;
};

}  // namespace tvr::platform

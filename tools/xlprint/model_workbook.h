#pragma once

#include <string>

#include "xlprint/exchange_reader.h"

namespace tvr::tools {

// Writes the exchange on a copy of a model workbook (.xlsx): its sheets, styles and
// header stay, and the project fields, the lines and the totals go below the header of
// its first sheet, or from the cell the model names "DATA" (on that cell's sheet; rows
// of the model that the data cover are replaced). The workbook appears at `path` whole
// or not at all. False, with error set and nothing written, for a model that cannot be
// read: an Excel 97-2003 (.xls) one, or one that is no workbook or is damaged.
bool WriteWorkbookOnModel(const CExchange& exchange, const std::string& modelPath,
                          const std::string& path, std::string& error);

}  // namespace tvr::tools

#pragma once

#include <string>
#include <string_view>

// The path of a per-range table: the catalogue folder, the table's file name and ".dbf".
// A name that begins with 'Q' and has '_' as its fourth character is shortened to eight
// characters: a QJ name keeps its first eight ("QJF_CALIBRE" gives QJF_CALI); any other
// keeps its first two and up to six from the fourth on ("QMA_CALIBRE" gives QM_CALIB,
// so the variants of a range share their tables). Other names are used unchanged.
std::string RangeTableName(const std::string& catalogueFolder, std::string_view name);

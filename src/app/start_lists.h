#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/catalogue_entry.h"
#include "app/device_entry.h"
#include "app/text_lookup.h"
#include "app/unit_entry.h"

// The lists that start-up reads from the small tables of the catalogue folder. Fields are
// read trimmed; a numeric field reads as its integer part. Deleted records are skipped.

// A list read from one table. When the table cannot be read (missing, damaged, without a
// field the list needs), entries is empty and error says why, naming the file; a table
// that reads gives an empty error, even when it holds no record.
template <typename Entry>
struct CTableList {
  std::vector<Entry> entries;
  std::string error;
};

inline constexpr std::string_view kUnitTableName = "dims.dbf";
inline constexpr std::string_view kCatalogueTableName = "catalog.dbf";
inline constexpr std::string_view kDeviceTableName = "devices.dbf";

// "dims.dbf" of the catalogue folder, every record in stored order: IDD, IDL, LIB,
// INPUTSTR, INPUTCOEF, OUTPUTSTR, OUTPUTCOEF, BASECOEF, with LIB taken as a message number
// and replaced by lookupText of it.
CTableList<CUnitEntry> LoadUnitList(const std::string& catalogueFolder,
                                    const TextLookup& lookupText);

// "catalog.dbf" of the catalogue folder in the order of its field SEQ: code ID and the
// text of message LIB, for every code that IsCatalogueOffered accepts.
CTableList<CCatalogueEntry> LoadCatalogueList(const std::string& catalogueFolder, int copper,
                                              int apod, const TextLookup& lookupText);

// Whether a catalogue code is offered with the switches "Design"/"Copper" and
// "Design"/"APOD". Refused: the copper codes QMC, QWC, QPC, QGC while copper is 0;
// otherwise Qpa and Qpc while apod is 0, and QPA, QPC, QJF, QWA, QWC while apod is not 0.
bool IsCatalogueOffered(std::string_view code, int copper, int apod);

// "devices.dbf" of the catalogue folder in the order of its field ID: code ID and label
// LIB, except that a LIB that reads as a non-zero integer n gives stringText(n).
CTableList<CDeviceEntry> LoadDeviceList(const std::string& catalogueFolder,
                                        const TextLookup& stringText);

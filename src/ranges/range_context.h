#pragma once

#include "app/device_entry.h"
#include "app/text_lookup.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

// What the range loaders read of the running application: the catalogue folder, the
// device list of start-up, the texts of message numbers, and where a problem is told.
// One process-wide object, set at start-up (with the application's catalogue folder,
// its device list and LookupText); tests set what they need and call Reset.
//
// The other frame services the ranges use are the program's own: RangeTableName
// (app/range_table.h) names the tables, CDbfTable's FieldText and FieldInt read them and
// its code page stands in for the ANSI conversion of queries, MatchWildcard and
// TextToDouble come from app/, and a message box by number is the notifier below.
class CRangeContext {
 public:
  // A problem for the user: a message number and the text for its %1.
  using Notifier = std::function<void(int message, const std::string& argument)>;

  // Told once per table that cannot be opened: its path as %1.
  static constexpr int kMessageTableUnreadable = 397;

  static CRangeContext& Instance();

  // No folder, no devices, no texts, no notifier; counters and reports forgotten.
  void Reset();

  void SetCatalogueFolder(std::string folder) { m_catalogueFolder = std::move(folder); }
  const std::string& CatalogueFolder() const { return m_catalogueFolder; }
  void SetDevices(std::vector<CDeviceEntry> devices) { m_devices = std::move(devices); }
  const std::vector<CDeviceEntry>& Devices() const { return m_devices; }
  void SetTextLookup(TextLookup lookup) { m_lookup = std::move(lookup); }
  // The text of a message number; empty without a look-up.
  std::string LookupText(int number) const { return m_lookup ? m_lookup(number) : std::string(); }
  void SetNotifier(Notifier notifier) { m_notifier = std::move(notifier); }
  // Tells the notifier of a message for the user (a rule's warning by its number).
  void Notify(int message, const std::string& argument) const {
    if (m_notifier) m_notifier(message, argument);
  }

  // Counts one opening of a range table (so that tests and benchmarks can tell how often
  // tables are read).
  void CountTableOpen() { ++m_tableOpens; }
  int TableOpens() const { return m_tableOpens; }

  // Tells the notifier that the table cannot be read, the first time for each path;
  // the notifier's exception passes on.
  void ReportUnreadableTable(const std::string& path);
  // Every table that could not be read counts, told or not: a caller compares the count
  // before and after a load to learn that it read a table short.
  int UnreadableTables() const { return m_unreadable; }
  const std::string& LastUnreadableTable() const { return m_lastUnreadable; }

 private:
  std::string m_catalogueFolder;
  std::vector<CDeviceEntry> m_devices;
  TextLookup m_lookup;
  Notifier m_notifier;
  int m_tableOpens = 0;
  std::set<std::string> m_reported;
  int m_unreadable = 0;
  std::string m_lastUnreadable;
};

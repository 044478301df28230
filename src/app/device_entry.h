#pragma once

#include <string>

// One device code of "devices.dbf".
struct CDeviceEntry {
  std::string code;   // ID ("0", "1", "7", "8", "32", "64", "99" in the sample catalogue)
  std::string label;  // LIB, or the text of string resource LIB when LIB is a number

  friend bool operator==(const CDeviceEntry&, const CDeviceEntry&) = default;
};

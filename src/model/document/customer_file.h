#pragma once

#include <string>

class CDocProps;

// The customer file (".t0p"): a settings-style text file with one section "Customer"
// holding the customer's address fields of a project.
class CCustomerFile {
 public:
  // Reads the seven address fields into the block; a missing key empties its field.
  // False (and nothing changed) when the file cannot be read.
  static bool Load(const std::string& path, CDocProps& props);
  // Writes the seven fields and "CLI_DISCOUNT" (always "0") in one replacement of the
  // file; false when it could not be written.
  static bool Save(const std::string& path, const CDocProps& props);
};

#pragma once

#include "pages/prop_page.h"

#include <string>
#include <string_view>

class CRun;

// A page whose object is a run and which writes run properties: only what differs from
// the stored value is written, so leaving a page unchanged marks nothing modified.
class CRunPropPage : public CPropPage {
 protected:
  CRun* Run() const;
  std::string Prop(std::string_view name) const;
  // True when the value differed and was written.
  bool WriteProp(std::string_view name, std::string_view value);
  // The first character of the run's catalogue after its "Q", upper-cased ('D', 'P', ...).
  char RangeLetter() const;
};

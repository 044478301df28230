#pragma once

#include <string>

// One unit of length, one record of "dims.dbf" in stored order. Every member is the
// trimmed field text, except label, which is already the translated text of the
// message number stored in LIB.
struct CUnitEntry {
  std::string idd;         // IDD
  std::string idl;         // IDL
  std::string label;       // LIB, translated
  std::string inputText;   // INPUTSTR
  std::string inputCoef;   // INPUTCOEF
  std::string outputText;  // OUTPUTSTR
  std::string outputCoef;  // OUTPUTCOEF
  std::string baseCoef;    // BASECOEF
};

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The CLINQ connection pieces of ranges QG and QM: the shapes a feed or connection
// element offers, their length rules and part combinations, and the element field
// "CLINQ" ("shape/L/combination[/type][:parameters]").

enum class EClinqLength { kHidden, kTyped, kFixed };

struct CClinqShape {
  int value;  // the picture's value; the stored shape number is value + 1
  const char* image;
  int caption;     // message number
  int group;       // combination group
  int secondText;  // message number, 0: none
  EClinqLength length;
  std::int64_t lowest;  // typed: the range; fixed: lowest is the length
  std::int64_t highest;
};

// The row of a shape value; nothing for an unknown one.
const CClinqShape* FindClinqShape(int value);

// What decides the offered shapes.
struct CClinqElement {
  int pictureCode = 0;    // style bits 24-25
  std::string catalog{};  // "Catalog" of the run
  int calibre = 0;
  int variant = 0;
  int nibble = 0;  // bars nibble, style bits 20-23
  int direction = 0;
  int rotation = 0;
};

std::vector<int> OfferedClinqShapes(const CClinqElement& element);

// The part combinations of the group; the side flag picks the "YE" set of group 4.
std::vector<std::string> ClinqCombinations(int group, bool sideFlag);
// The entry chosen by default, -1 for none.
int DefaultCombination(int group);
bool ClinqSideFlag(const CClinqElement& element, int group);

// A type list text "label: first/second/third": the label with its colon, then the
// entries (at most four).
struct CClinqTypes {
  std::string label;
  std::vector<std::string> names;
  std::vector<int> values;  // each entry's index in the text
};
CClinqTypes SplitClinqTypes(std::string_view text, std::size_t most);
// The entries a shape keeps of the long type list (message 30211).
void TrimClinqTypes(CClinqTypes& types, int shape, bool qmc);

// The stored field read back.
struct CClinqStored {
  int shape = -1;  // the shape value wanted, -1 none
  std::int64_t length = 0;
  int combination = 0;  // stored number (entry + 1), 0 none
  int type = 0;
  bool hasType = false;
  std::string parameters;  // from the first ":" on
  bool oldShape = false;   // a shape number of older files (3 or 5)
};
CClinqStored ReadClinq(std::string_view text);

// The parameters that older files' shapes 3 and 5 take.
inline constexpr const char* kDefaultClinqParameters = ":a=50,b=25,c=25,d=50,e=2,f=2,y=25";

// The field text of a choice; empty for no shape.
std::string FormatClinq(int shape, std::int64_t length, int combination, int type,
                        const std::string& parameters);

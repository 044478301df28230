#include "ranges/qw/qw_text.h"

#include "ranges/range_ref_text.h"
#include "ranges/range_ref_text.h"

namespace qw {

void WriteLengthPair(std::string& buffer, std::int64_t first, std::int64_t second) {
  if (buffer.size() < 22) buffer.resize(22, ' ');
  LayRefText(buffer, 10, std::string(9, ' '));
  LayRefText(buffer, 10, std::to_string(first) + "-" + std::to_string(second));
}

std::string_view UsualRatingClass(int rating, bool qwa) {
  switch (rating) {
    case 20:
    case 31: return "31";
    case 40:
    case 50: return "63";
    case 63: return qwa ? "80" : "";
    case 80: return "80";
    default: return "";
  }
}

}  // namespace qw

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "geometry/pointer_map.h"

class CBOMGrid;

// Bookings into a bill of materials gathered while a run is read, then made with one
// booking per reference: each booking formats its line's cells again, and a long run
// books the same few references thousands of times. The bill ends as booking each at
// once would leave it: lines in the order their references were first booked, with the
// same quantities, a booking the bill refuses (a quantity out of range, a full bill)
// refused alike.
class CBookingBatch {
 public:
  void Add(std::string_view reference, std::int64_t quantity);
  // Add with a key that the caller keeps for the reference at one address (the key of the
  // run's reference index): a reference booked before under the key is found by the
  // address alone, without hashing the text. Any key, or none, books as Add does.
  void Add(std::string_view reference, std::int64_t quantity, const void* key);
  void BookInto(CBOMGrid& bom);

 private:
  struct Line {
    std::string reference;
    std::int64_t total = 0;
    std::int64_t count = 0;  // bookings
    // Every booking in order, replayed when the bill refuses the total, so that the
    // bookings it would have taken one by one are taken; left empty while each booked
    // one, which the count tells.
    std::vector<std::int64_t> quantities;
  };
  static void BookLine(CBOMGrid& bom, const Line& line);
  static void Count(Line& line, std::int64_t quantity);
  // The line of the reference, made when new.
  std::size_t LineOf(std::string_view reference);

  std::vector<Line> m_lines;  // in the order first booked
  // Looks a reference up without making a key of it: a run books the same few
  // references thousands of times, each in a text of its own.
  struct CTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::unordered_map<std::string, std::size_t, CTextHash, std::equal_to<>> m_index;
  // Lines by the callers' keys; a line found so is taken only when its reference is the
  // one booked, so that a key reused for another text books rightly too.
  CPointerMap<const void, std::size_t> m_byKey;
};

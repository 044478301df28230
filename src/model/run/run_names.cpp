#include "model/run/run.h"

std::string CRun::AdvanceRunName(std::string_view name) {
  std::string next(name);
  for (std::size_t i = next.size(); i-- > 0;) {
    if (next[i] < 'Z') {
      ++next[i];
      return next;
    }
    next[i] = 'A';
  }
  // Every character was a "Z" (or the name was empty): one letter more.
  next.insert(next.begin(), 'A');
  return next;
}

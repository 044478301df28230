#include "model/document/doc_props.h"

#include "app/profile.h"
#include "model/props/prop_window_notifier.h"

#include <charconv>

long long JobNumberValue(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range)
    return text.front() == '-' ? INT64_MIN : INT64_MAX;
  return result.ec == std::errc() ? value : 0;
}

bool CDocProps::RaiseJobNumberCounter(CProfile& profile) const {
  const std::string own = GetPropValue("NumAff");
  if (own.empty()) return false;
  const std::string stored = profile.ReadProfileText("User", "NumAff", "0");
  if (JobNumberValue(own) <= JobNumberValue(stored)) return false;
  return profile.WriteProfileText("User", "NumAff", own);
}

void CDocProps::GoToObject(CObjWithProp* target, int how) {
  (void)how;
  if (target != nullptr) target->NotifyPropDialog(kPropMsgShowObject);
}

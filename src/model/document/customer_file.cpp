#include "model/document/customer_file.h"

#include "app/profile.h"
#include "platform/utf8_text.h"
#include "model/document/doc_props.h"

#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

struct CCustomerKey {
  std::string_view key;
  std::string_view field;
};

constexpr std::array<CCustomerKey, 7> kKeys = {{{"CLI_NAME", "Client"},
                                                {"CLI_COMPANY", "Societe"},
                                                {"CLI_ADDRESS", "Adresse"},
                                                {"CLI_ZIP", "CodePostal"},
                                                {"CLI_CITY", "Ville"},
                                                {"CLI_PH", "Telephone"},
                                                {"CLI_FAX", "Fax"}}};
constexpr std::string_view kSection = "Customer";
constexpr std::size_t kMaxCharacters = 500;

}  // namespace

bool CCustomerFile::Load(const std::string& path, CDocProps& props) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  const CProfile file(path);
  for (const CCustomerKey& entry : kKeys) {
    props.SetPropValue(entry.field, CutToCharacters(file.ReadProfileText(kSection, entry.key, ""),
                                                    kMaxCharacters));
  }
  return true;
}

bool CCustomerFile::Save(const std::string& path, const CDocProps& props) {
  std::vector<CProfileValue> values;
  for (const CCustomerKey& entry : kKeys) {
    values.push_back(
        {std::string(kSection), std::string(entry.key), props.GetPropValue(entry.field)});
  }
  values.push_back({std::string(kSection), "CLI_DISCOUNT", "0"});
  return CProfile(path).WriteProfileValues(values);
}

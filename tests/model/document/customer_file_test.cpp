#include "model/document/customer_file.h"

#include "model/document/doc_props.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(CustomerFileTest, SavedFieldsLoadBackAndDiscountIsAlwaysZero) {
  CTempFolder folder("customer");
  CDocProps props;
  const std::vector<std::pair<std::string, std::string>> fields = {{"Client", "M. Hébert"},
                                                                   {"Societe", "Ateliers du Nord"},
                                                                   {"Adresse", "3 rue des Forges"},
                                                                   {"CodePostal", "59000"},
                                                                   {"Ville", "Lille"},
                                                                   {"Telephone", "03 20 00 00 00"},
                                                                   {"Fax", "03 20 00 00 01"}};
  for (const auto& [name, value] : fields) props.SetPropValue(name, value);
  props.SetPropValue("Name", "not a customer field");
  const std::string path = folder.File("client.t0p");
  ASSERT_TRUE(CCustomerFile::Save(path, props));
  const std::string text = folder.ReadFile("client.t0p");
  EXPECT_NE(text.find("[Customer]"), std::string::npos);
  EXPECT_NE(text.find("CLI_DISCOUNT=0"), std::string::npos);
  EXPECT_EQ(text.find("not a customer field"), std::string::npos);
  CDocProps loaded;
  ASSERT_TRUE(CCustomerFile::Load(path, loaded));
  for (const auto& [name, value] : fields) EXPECT_EQ(loaded.GetPropValue(name), value) << name;
}

TEST(CustomerFileTest, MissingKeysEmptyTheirFieldsAndMissingFilesChangeNothing) {
  CTempFolder folder("customer");
  const std::string path = folder.WriteFile("partial.t0p", "[Customer]\nCLI_CITY=Rennes\n");
  CDocProps props;
  props.SetPropValue("Client", "old contact");
  props.SetPropValue("Ville", "Brest");
  ASSERT_TRUE(CCustomerFile::Load(path, props));
  EXPECT_FALSE(props.HasProp("Client"));
  EXPECT_EQ(props.GetPropValue("Ville"), "Rennes");
  EXPECT_FALSE(CCustomerFile::Load(folder.File("absent.t0p"), props));
  EXPECT_EQ(props.GetPropValue("Ville"), "Rennes");
  EXPECT_FALSE(CCustomerFile::Save(folder.File("no/such/folder.t0p"), props));
}

}  // namespace

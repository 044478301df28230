#include "linear/linear_test_support.h"

#include "app/current_language.h"

CLinearFolders SampleFolders() {
  return {std::string(TVR_PROGRAM_DIR) + "/DBF/", std::string(TVR_PROGRAM_DIR) + "/BD/"};
}

CEnglishTexts::CEnglishTexts() {
  CCurrentLanguage::Instance().Reset();
  CLanguageSetup setup;
  setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  CCurrentLanguage::Instance().SetSetup(setup);
  CCurrentLanguage::Instance().LoadLanguage("044");
}

CEnglishTexts::~CEnglishTexts() { CCurrentLanguage::Instance().Reset(); }

CLinearLine MakeLine(int group, int product, int rating, int conductors, int ipDegree) {
  CLinearLine line;
  line.Group = group;
  line.Product = product;
  line.Rating = rating;
  line.Conductors = conductors;
  line.IpDegree = ipDegree;
  return line;
}

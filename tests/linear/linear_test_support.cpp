#include "linear/linear_test_support.h"

#include <chrono>
#include <thread>

#include "app/current_language.h"
#include "app/external_process.h"

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

void WaitForHelper(CPrintHelperLauncher& launcher) {
  for (int i = 0; i < 200 && launcher.PreviousStillRuns(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

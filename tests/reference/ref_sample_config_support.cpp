#include "ref_sample_config_support.h"

#include "app/option_list_files.h"
#include "app/profile.h"
#include "ref_test_support.h"

CRefSampleConfig::CRefSampleConfig() {
  COptionListFiles::ResetRun(CRefConfig::kListName);
  m_folder.WriteFile("TVR.INI", "[Design]\nCopper=1\n");
  const CRefConfigSetup setup{m_folder.Folder(),
                              std::string(TVR_SOURCE_DIR) + "/data/catalogue/ref_conf.cfg",
                              SampleRefSetup().catalogueFolder};
  const CProfile profile(m_folder.File("TVR.INI"));
  config.ReadSettings(profile, setup);
  config.LoadRefConfig(profile, setup);
}

CRefSampleConfig::~CRefSampleConfig() { COptionListFiles::ResetRun(CRefConfig::kListName); }

CRefLine MakeProjectLine(int group, int kind, const char* name, std::int32_t unitPrice,
                         std::int32_t quantity) {
  CRefLine line;
  line.Assign(nullptr);
  line.group = group;
  line.productKind = kind;
  line.name = name;
  if (quantity > 0)
    line.AddItemNode({std::string(name) + "-REF", "item", unitPrice, quantity, 0, 0});
  return line;
}

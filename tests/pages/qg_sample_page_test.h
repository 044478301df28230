#pragma once

#include "page_test_support.h"

#include <cstdint>
#include <memory>

// The QG sample the build writes, opened as the program opens it; its first end can be
// turned into a special shape.
class QGSamplePageTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetCatalogues({{"QGA", "QG A"}, {"QGC", "QG C"}});
    m_folder.WriteFile("TVR.INI", "[Design]\nSplit=1\n");
    m_profile = std::make_unique<CProfile>(m_folder.File("TVR.INI"));
    CDocEnvironment environment;
    environment.profile = m_profile.get();
    environment.settingsFolder = m_folder.Folder();
    document = std::make_unique<CDorneDoc>(environment);
    ASSERT_TRUE(document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/qg_sample.run").ok);
  }
  void TearDown() override {
    document.reset();
    RangeTest::TearDown();
  }
  // The run's first end as a special shape of the variant with the bars nibble and the
  // feed unit's picture code.
  CDev& Shape(int variant, int nibble, int pictureCode = 0) {
    CDev& element = *document->GetRunAt(0)->GetDevices()[0];
    element.SetVariantBoth(variant);
    std::uint32_t style = (element.GetStyle() & ~0x3F00000u) |
                          (static_cast<std::uint32_t>(nibble) << 20) |
                          (static_cast<std::uint32_t>(pictureCode) << 24);
    element.SetStyle(style);
    element.SetStyle2(style);
    return element;
  }

  CTempFolder m_folder{"qgpages"};
  std::unique_ptr<CProfile> m_profile;
  std::unique_ptr<CDorneDoc> document;
};

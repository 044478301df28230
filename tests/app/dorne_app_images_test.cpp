#include "app/dorne_app.h"

#include <gtest/gtest.h>

#include <set>

namespace {

CImage Picture(const std::string& name, std::uint8_t shade) {
  CImage image(name);
  EXPECT_TRUE(image.SetPicture({0, 1, 1, 4, 1, 32}, {shade, shade, shade, 255}));
  return image;
}

TEST(DorneAppImages, TheLastImageOfANameIsFound) {
  CDorneApp app;
  app.AddImage(Picture("FEEDUNIT_AA", 1));
  app.AddImage(Picture("ERACC_TRF", 2));
  app.AddImage(Picture("FEEDUNIT_AA", 3));
  const struct {
    const char* name;
    int shade;  // 0: none found
  } rows[] = {{"FEEDUNIT_AA", 3}, {"ERACC_TRF", 2},  {"ERACC_TBL", 0},
              {"feedunit_aa", 0}, {"FEEDUNIT_A", 0}, {"", 0}};
  for (const auto& row : rows) {
    const CImage* image = app.FindImage(row.name);
    EXPECT_EQ(image != nullptr, row.shade != 0) << row.name;
    if (image != nullptr) {
      EXPECT_EQ(image->Pixels().front(), row.shade) << row.name;
    }
  }
}

TEST(DorneAppImages, FortyFiveNamesEachOnce) {
  const std::vector<std::string>& names = CDorneApp::ElementImageNames();
  EXPECT_EQ(names.size(), 45u);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
  for (const char* asked : {"FEEDUNIT_AA", "FEEDUNIT_AL", "ERACC_TRF", "ERACC_TBL", "CAPOT_CR8",
                            "CAPOT_CS0", "CAPQG_CR5", "CLINQ_YT1", "CLQQG_YC3"})
    EXPECT_NE(std::find(names.begin(), names.end(), asked), names.end()) << asked;
}

}  // namespace

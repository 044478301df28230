#include "app/dorne_app.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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

TEST(DorneAppImages, ANamedImageIsDrawnOnceWhenFirstAskedFor) {
  CDorneApp app;
  std::vector<std::string> drawn;
  app.SetImageDrawer([&drawn](const std::string& name) {
    drawn.push_back(name);
    return Picture(name, 9);
  });
  app.AddImage(Picture("ERACC_TRF", 2));
  const struct {
    const char* name;
    int shade;                            // 0: none found
    bool draws;                           // the drawer is called for it
  } rows[] = {{"FEEDUNIT_AA", 9, true},   // a listed name, drawn on demand
              {"FEEDUNIT_AA", 9, false},  // drawn once, then kept
              {"ERACC_TRF", 2, false},    // an added image is never drawn over
              {"NO_SUCH_NAME", 0, false}, {"feedunit_aa", 0, false}, {"", 0, false}};
  for (const auto& row : rows) {
    const std::size_t before = drawn.size();
    const CImage* image = app.FindImage(row.name);
    EXPECT_EQ(image != nullptr, row.shade != 0) << row.name;
    if (image != nullptr) {
      EXPECT_EQ(image->Pixels().front(), row.shade) << row.name;
    }
    EXPECT_EQ(drawn.size() - before, row.draws ? 1u : 0u) << row.name;
  }
}

TEST(DorneAppImages, AnImageFoundStaysWhereItIsWhileOthersAreDrawn) {
  CDorneApp app;
  app.SetImageDrawer([](const std::string& name) { return Picture(name, 5); });
  const CImage* first = app.FindImage("FEEDUNIT_AA");
  for (const std::string& name : CDorneApp::ElementImageNames()) app.FindImage(name);
  EXPECT_EQ(app.FindImage("FEEDUNIT_AA"), first);
  EXPECT_EQ(first->ResourceName(), "FEEDUNIT_AA");
  EXPECT_EQ(app.Images().size(), CDorneApp::ElementImageNames().size());
}

// A drawer that gives an image of another name draws nothing that can be found, and is
// not asked again.
TEST(DorneAppImages, AMisnamedDrawingIsNotFound) {
  CDorneApp app;
  int calls = 0;
  app.SetImageDrawer([&calls](const std::string&) {
    ++calls;
    return Picture("OTHER", 1);
  });
  EXPECT_EQ(app.FindImage("ERACC_TBL"), nullptr);
  EXPECT_EQ(app.FindImage("ERACC_TBL"), nullptr);
  EXPECT_EQ(calls, 1);
}

}  // namespace

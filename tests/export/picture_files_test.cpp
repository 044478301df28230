#include "export/picture_files.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

TEST(PictureFilesTest, ViewPicturesAreNamedAfterDocumentRunAndView) {
  const std::tuple<const char*, int, const char*, const char*> cases[] = {
      {"A", 8, "jpg", "/jobs/Plant - A - top.jpg"},
      {"A/B", -1, "bmp", "/jobs/Plant - A_B.bmp"},
      {"A", 2, "jpg", "/jobs/Plant - A - 3d3.jpg"},
      {"A", 8, "dxf", "/jobs/Plant - A.dxf"},  // no view suffix for a drawing
      {"x:y*z?\"<>|\\", -1, "jpg", "/jobs/Plant - x_y_z______.jpg"},
  };
  for (const auto& [part, preset, extension, name] : cases)
    EXPECT_EQ(ViewPictureName("/jobs/Plant.RUN", part, preset, extension), name) << part;
}

TEST(PictureFilesTest, PicturesBesideTheDocumentBelongToTheirRun) {
  CTempFolder folder("pictures");
  for (const char* name : {"Plant - A.jpg", "Plant - A - top.BMP", "Plant-notes.jpg", "Plant.txt",
                           "Plant - AB.jpg", "Other - A.jpg", "Plantation.jpg"})
    folder.WriteFile(name, "x");
  const std::vector<CPictureEntry> pictures =
      PicturesBesideDocument(folder.File("Plant.run"), {"A", "B"});
  std::map<std::string, int> runs;
  for (const CPictureEntry& picture : pictures)
    runs[std::filesystem::path(picture.path).filename().string()] = picture.run;
  const std::map<std::string, int> expected = {{"Plant - A.jpg", 1},
                                               {"Plant - A - top.BMP", 1},
                                               {"Plant-notes.jpg", 0},
                                               {"Plant - AB.jpg", 0}};
  EXPECT_EQ(runs, expected);
  EXPECT_TRUE(PicturesBesideDocument(folder.File("Plant.txt"), {"A"}).empty());
}

TEST(PictureFilesTest, OnlyGeneratedNamesAreDeleted) {
  CTempFolder folder("pictures");
  for (const char* name : {"Plant - A.jpg", "Plant - A - top.jpg", "Plant - A - 3d1.bmp",
                           "Plant - A holiday.jpg", "Plant - notes.jpg", "Plant - A.png"})
    folder.WriteFile(name, "x");
  EXPECT_EQ(DeleteGeneratedPictures(folder.File("Plant.run"), {"A"}), 3);
  for (const char* kept : {"Plant - A holiday.jpg", "Plant - notes.jpg", "Plant - A.png"})
    EXPECT_TRUE(std::filesystem::exists(folder.File(kept))) << kept;
  EXPECT_FALSE(std::filesystem::exists(folder.File("Plant - A.jpg")));
}

}  // namespace

#include "app/app_settings.h"

#include <gtest/gtest.h>

#include "app/profile.h"
#include "support/temp_folder.h"

namespace {

class AppSettingsTest : public ::testing::Test {
 protected:
  CTempFolder m_folder{"settings"};
  std::string m_path = m_folder.File("TVR.INI");
};

TEST_F(AppSettingsTest, AnEmptyFileGivesEveryDefault) {
  m_folder.WriteFile("TVR.INI", "");
  EXPECT_EQ(ReadAppSettings(CProfile(m_path)), CAppSettings());
}

TEST_F(AppSettingsTest, NonsenseValuesGiveWhatTheirConversionsGive) {
  m_folder.WriteFile(
      "TVR.INI",
      "[User]\nName=  \n[Colors]\nStraight1=green\nSupport=999,-5,12,7\n"
      "[Zooms]\nAll=0,5\nIn=fast\n[Moves]\nLeft=1e999\n"
      "[Design]\nJointDebord=abc\nRealJoint=12xyz\nBoxDebord=\nSpecial=x\nCopper=3\nAPOD=-1\n"
      "[Database]\nPackaging=yes\n"
      "[Label]\nBranchVisible=2\nBranchOpaque=On\nBranchFont=,,,\nBranchFontColor=\n"
      "BranchFlags=many\nDimFlags=\n[Language]\nID=\n");
  CAppSettings s = ReadAppSettings(CProfile(m_path));
  EXPECT_EQ(s.userName, "");                                  // a blank value is a value
  EXPECT_EQ(s.colors[kColorStraight1], MakeColor(0, 0, 0));   // words read black
  EXPECT_EQ(s.colors[kColorSupport], MakeColor(255, 0, 12));  // held to 0..255
  EXPECT_FLOAT_EQ(s.zoomAll, 0.0f);                           // a decimal comma ends the number
  EXPECT_FLOAT_EQ(s.zoomIn, 0.0f);
  EXPECT_FLOAT_EQ(s.moveLeft, 0.0f);  // no infinity
  EXPECT_EQ(s.jointOverhang, 0);      // "abc" reads 0
  EXPECT_EQ(s.realJoint, 12);
  EXPECT_EQ(s.boxOverhang, 0);  // text as integer: empty is 0
  EXPECT_EQ(s.special, 0);
  EXPECT_EQ(s.copper, 3);
  EXPECT_EQ(s.apod, -1);
  EXPECT_EQ(s.packaging, 0);
  EXPECT_FALSE(s.labels[kLabelBranch].visible);  // "2" is not true
  EXPECT_TRUE(s.labels[kLabelBranch].opaque);
  EXPECT_EQ(s.labels[kLabelBranch].font, CLogFont{});
  EXPECT_EQ(s.labels[kLabelBranch].fontColor, MakeColor(0, 0, 0));
  EXPECT_EQ(s.labels[kLabelBranch].flags, 0);     // int reading of a word
  EXPECT_EQ(s.labels[kLabelDimension].flags, 0);  // an empty int value: the default 0
  EXPECT_EQ(s.languageId, "");
}

TEST_F(AppSettingsTest, TheAuthorIsTheUserNameOnceOneIsSet) {
  const struct {
    const char* file;
    const char* author;
  } rows[] = {
      {"", ""},                        // no name set: the placeholder draws nothing
      {"[User]\nName=UnKnown\n", ""},  // the placeholder written back by Options
      {"[User]\nName=M. Durand\n", "M. Durand"},
      {"[User]\nName=unknown\n", "unknown"},  // a name of the user's, however it reads
  };
  for (const auto& row : rows) {
    m_folder.WriteFile("TVR.INI", row.file);
    EXPECT_EQ(ReadAppSettings(CProfile(m_path)).AuthorName(), row.author) << row.file;
  }
}

TEST_F(AppSettingsTest, WriteLabelStyleWritesItsSixKeys) {
  CProfile profile(m_path);
  CLabelStyle style;
  style.visible = true;
  style.font = TextToLogFont("Arial,10,0");
  style.fontColor = MakeColor(255, 0, 0);
  style.background = MakeColor(255, 255, 255);
  style.flags = 16;
  ASSERT_TRUE(WriteLabelStyle(profile, kLabelText, style));
  EXPECT_EQ(m_folder.ReadFile("TVR.INI"),
            "[Label]\nTextVisible=True\nTextOpaque=False\nTextFont=Arial,10,0\n"
            "TextFontColor=255,0,0\nTextBkGrd=255,255,255\nTextFlags=16\n");
  EXPECT_EQ(ReadAppSettings(profile).labels[kLabelText], style);
}

TEST_F(AppSettingsTest, WritingToAMissingFolderFails) {
  CProfile profile(m_folder.File("none/TVR.INI"));
  EXPECT_FALSE(WriteLabelStyle(profile, kLabelText, CLabelStyle()));
}

}  // namespace

#include "app/recent_file_list.h"

#include <gtest/gtest.h>

#include "app/profile.h"
#include "support/temp_folder.h"

namespace {

TEST(RecentFileListTest, NewestFirstEachPathOnceAtMostFive) {
  CRecentFileList list;
  for (const char* path : {"/a.run", "/b.run", "/c.lin", "/d.ref", "/e.run", "/f.run"})
    list.Add(path);
  EXPECT_EQ(list.Entries(),
            (std::vector<std::string>{"/f.run", "/e.run", "/d.ref", "/c.lin", "/b.run"}));
  EXPECT_TRUE(list.Add("/c.lin"));
  EXPECT_EQ(list.Entries(),
            (std::vector<std::string>{"/c.lin", "/f.run", "/e.run", "/d.ref", "/b.run"}));
  EXPECT_FALSE(list.Add(""));
  EXPECT_FALSE(list.Add("/c.lin"));  // first already: nothing to write
  EXPECT_TRUE(list.Add("/b.run"));
  EXPECT_EQ(list.Entries().size(), 5u);
}

TEST(RecentFileListTest, RemoveByIndex) {
  CRecentFileList list;
  list.Add("/a.run");
  list.Add("/b.run");
  list.Remove(0);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/a.run"}));
  list.Remove(7);  // beyond the list: nothing
  EXPECT_EQ(list.Entry(0), "/a.run");
  EXPECT_EQ(list.Entry(3), "");
}

TEST(RecentFileListTest, SettingsRoundTripSkipsEmptyAndRepeatedKeys) {
  CTempFolder folder;
  CProfile profile(folder.WriteFile("TVR.INI",
                                    "[Recent File List]\nFile1=/x.run\nFile2=\nFile3=/x.run\n"
                                    "File4=/y.ref\nFile9=/z.run\n"));
  CRecentFileList list;
  list.ReadFrom(profile);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/x.run", "/y.ref"}));
  list.Add("/n.lin");
  ASSERT_TRUE(list.WriteTo(profile));
  CRecentFileList again;
  again.ReadFrom(profile);
  EXPECT_EQ(again.Entries(), (std::vector<std::string>{"/n.lin", "/x.run", "/y.ref"}));
  EXPECT_EQ(profile.ReadProfileText("Recent File List", "File4", "?"), "");
}

}  // namespace

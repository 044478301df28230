#include "shell/ui/frame_placement.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/profile.h"
#include "shell_test_support.h"

namespace {

class FramePlacementTest : public ::testing::Test {
 protected:
  CProfile Profile(const std::string& layout) {
    std::string path = m_folder.Write("TVR.INI", "[Application Layout]\n" + layout);
    return CProfile(path);
  }
  CShellTestFolder m_folder;
};

TEST_F(FramePlacementTest, SavedPlacementIsRestoredAndAMinimisedStartOpensRestored) {
  struct Case {
    const char* layout;
    QRect geometry;  // empty: not checked
    Qt::WindowStates state;
  };
  const Case cases[] = {{"ShowCmd=1\nNormalPos=Left 40, Top 30, Right 540, Bottom 430\n",
                         QRect(40, 30, 500, 400), Qt::WindowNoState},
                        {"ShowCmd=6\n", QRect(), Qt::WindowNoState},
                        {"ShowCmd=3\n", QRect(), Qt::WindowMaximized}};
  for (const Case& c : cases) {
    CProfile profile = Profile(c.layout);
    QWidget window;
    RestoreWindowPlacement(window, profile);
    if (!c.geometry.isEmpty()) {
      EXPECT_EQ(QRect(window.pos(), window.size()), c.geometry) << c.layout;
    }
    EXPECT_EQ(window.windowState(), c.state) << c.layout;
  }
}

TEST_F(FramePlacementTest, NonsenseAndOffScreenPlacementsGiveTheDefault) {
  QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const std::string rows[] = {
      "NormalPos=Left 99999, Top 30, Right 100500, Bottom 430\n",
      "NormalPos=garbage\nShowCmd=banana\n",
      "NormalPos=Left 0, Top " + std::to_string(screen.bottom() + 100) +
          ", Right 600, Bottom 2000\n",
  };
  for (const std::string& row : rows) {
    CProfile profile = Profile(row);
    QWidget window;
    RestoreWindowPlacement(window, profile);
    EXPECT_EQ(window.size(), QSize(624, 448)) << row;
    EXPECT_EQ(window.pos(), QPoint(8, 16)) << row;
  }
}

TEST_F(FramePlacementTest, AFirstStartFillsMostOfTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (const char* layout : {"", "ShowCmd=1\n"}) {
    CProfile profile = Profile(layout);
    QWidget window;
    RestoreWindowPlacement(window, profile);
    EXPECT_GT(window.width(), screen.width() * 3 / 4) << layout;
    EXPECT_GT(window.height(), screen.height() * 3 / 4) << layout;
    EXPECT_TRUE(screen.contains(QRect(window.pos(), window.size()))) << layout;
  }
}

TEST_F(FramePlacementTest, SavedFormsReadBack) {
  CProfile profile = Profile("");
  QWidget window;
  window.resize(300, 200);
  window.move(20, 25);
  ASSERT_TRUE(SaveWindowPlacement(window, profile));
  EXPECT_EQ(profile.ReadProfileText("Application Layout", "NormalPos", ""),
            "Left 20, Top 25, Right 320, Bottom 225");
  EXPECT_EQ(profile.ReadProfileText("Application Layout", "ShowCmd", ""), "1");
  EXPECT_EQ(profile.ReadProfileText("Application Layout", "MinPos", ""),
            "Left 0, Top 0, Right 0, Bottom 0");
  CWindowPlacement read = ReadWindowPlacement(profile);
  EXPECT_EQ(read.normalPos, (CRect{20, 25, 320, 225}));
}

}  // namespace

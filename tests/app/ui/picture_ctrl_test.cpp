#include "app/ui/picture_ctrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "app/owner_draw_rules.h"
#include "shell_test_support.h"

namespace {

class PictureCtrlTest : public ::testing::Test {
 protected:
  QString SavePicture(const std::string& name, int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QString path = QString::fromStdString(m_folder.Path(name));
    EXPECT_TRUE(image.save(path, format));
    return path;
  }

  CShellTestFolder m_folder;
  CPictureCtrl m_picture;
};

TEST_F(PictureCtrlTest, PicturesThatCannotBeReadLeaveNoPicture) {
  const QString jpeg = SavePicture("good.jpg", 40, 20, "JPEG");
  ASSERT_TRUE(m_picture.LoadPictureFile(jpeg));
  struct Case {
    std::string name;
    std::string bytes;
    const char* guards;
  };
  const Case cases[] = {{"", "", "missing file"},
                        {"empty.jpg", "", "empty file"},
                        {"text.jpg", "not a picture at all", "unknown format"},
                        {"cut.png", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR", "damaged picture"}};
  for (const Case& c : cases) {
    QString path = QString::fromStdString(c.name.empty() ? m_folder.Path("none.jpg")
                                                         : m_folder.Write(c.name, c.bytes));
    EXPECT_FALSE(m_picture.LoadPictureFile(path)) << c.guards;
    EXPECT_FALSE(m_picture.HasPicture()) << c.guards << ": the previous picture is dropped";
    int width = -1, height = -1;
    EXPECT_FALSE(m_picture.GetPictureSize(width, height));
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
  }
}

TEST_F(PictureCtrlTest, PicturesArePlacedByTheirSizeInTheControl) {
  struct Case {
    const char* name;
    int width, height;
    const char* format;
    QRect placed;
    const char* guards;
  };
  const Case cases[] = {
      {"picture.jpg", 30, 10, "PNG", QRect(85, 45, 30, 10), "the format comes from the bytes"},
      {"small.bmp", 40, 20, "BMP", QRect(80, 40, 40, 20), "a small one is centred at its size"},
      {"wide.png", 400, 100, "PNG", QRect(0, 25, 200, 50), "a wide one is scaled to the width"}};
  m_picture.resize(200, 100);
  for (const Case& c : cases) {
    ASSERT_TRUE(m_picture.LoadPictureFile(SavePicture(c.name, c.width, c.height, c.format)))
        << c.guards;
    int width = 0, height = 0;
    ASSERT_TRUE(m_picture.GetPictureSize(width, height));
    EXPECT_EQ(QSize(width, height), QSize(c.width, c.height)) << c.guards;
    EXPECT_EQ(m_picture.PictureRect(), c.placed) << c.guards;
    EXPECT_EQ(m_picture.grab().toImage().pixelColor(100, 50), QColor(30, 120, 200)) << c.guards;
  }
  m_picture.SetOptions(kPictureAlignBottom);
  EXPECT_EQ(m_picture.PictureRect(), QRect(0, 50, 200, 50));
}

TEST_F(PictureCtrlTest, TheTextIsDrawnOverThePicture) {
  m_picture.resize(200, 100);
  ASSERT_TRUE(m_picture.LoadPictureFile(SavePicture("back.png", 200, 100, "PNG")));
  QImage without = m_picture.grab().toImage();
  m_picture.SetText(QStringLiteral("Tavrilon 7.3"));
  m_picture.SetTextStyle(CPictureCtrl::ETextStyle::Center, true);
  QImage with = m_picture.grab().toImage();
  EXPECT_NE(with, without);
  EXPECT_TRUE(SaveScreenshot(m_picture, QStringLiteral("picture_ctrl")));
}

}  // namespace

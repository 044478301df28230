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

TEST_F(PictureCtrlTest, TheFormatComesFromTheBytes) {
  const QString png = SavePicture("picture.jpg", 30, 10, "PNG");  // a PNG under a JPEG name
  ASSERT_TRUE(m_picture.LoadPictureFile(png));
  int width = 0, height = 0;
  ASSERT_TRUE(m_picture.GetPictureSize(width, height));
  EXPECT_EQ(width, 30);
  EXPECT_EQ(height, 10);
}

TEST_F(PictureCtrlTest, ASmallPictureIsCentredAtItsOwnSize) {
  m_picture.resize(200, 100);
  ASSERT_TRUE(m_picture.LoadPictureFile(SavePicture("small.bmp", 40, 20, "BMP")));
  EXPECT_EQ(m_picture.PictureRect(), QRect(80, 40, 40, 20));
  QImage shown = m_picture.grab().toImage();
  EXPECT_EQ(shown.pixelColor(100, 50), QColor(30, 120, 200));
}

TEST_F(PictureCtrlTest, AWidePictureIsScaledToTheWidth) {
  m_picture.resize(200, 100);
  ASSERT_TRUE(m_picture.LoadPictureFile(SavePicture("wide.png", 400, 100, "PNG")));
  EXPECT_EQ(m_picture.PictureRect(), QRect(0, 25, 200, 50));
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
  m_picture.SetTextFont(QFont(QStringLiteral("Liberation Serif"), 20));
  EXPECT_EQ(m_picture.TextFont().pointSize(), 20);
}

}  // namespace

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>

#include <set>

#include "app/info_dialog_rules.h"
#include "app/ui/flag_sheet.h"
#include "shell/ui/frame_toolbars.h"
#include "app/ui/language_item_delegate.h"
#include "app/ui/pictures.h"
#include "shell/ui/toolbar_icons.h"
#include "shell_test_support.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

// How many pixels of the image are not fully transparent.
int InkedPixels(const QImage& image) {
  int inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 0) ++inked;
  return inked;
}

std::vector<int> AllToolbarCommands() {
  std::vector<int> commands;
  for (int command : CFrameToolBars::MainButtons())
    if (command) commands.push_back(command);
  for (int bar : CFrameToolBars::kDesignBars)
    for (int command : CFrameToolBars::DesignButtons(bar))
      if (command) commands.push_back(command);
  return commands;
}

TEST(PicturesTest, EveryToolbarButtonHasItsOwnPicture) {
  std::set<QByteArray> seen;
  for (int command : AllToolbarCommands()) {
    ASSERT_TRUE(HasToolbarIcon(command)) << command;
    QImage image = ToolbarIcon(command).pixmap(16, 16).toImage();
    EXPECT_GT(InkedPixels(image), 20) << command;
    QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    EXPECT_TRUE(seen.insert(bytes).second) << "picture of " << command << " repeats another";
  }
  EXPECT_FALSE(HasToolbarIcon(57665));  // Exit has none
  EXPECT_TRUE(ToolbarIcon(57665).isNull());
}

// The pictures painted when Qt asks for them are those a picture icon gives, in every mode
// and at both sizes (the grey ones of disabled buttons are the style's).
TEST(PicturesTest, ToolbarPicturesMatchPicturesGivenToAnIcon) {
  for (int command : AllToolbarCommands()) {
    const IconPaint paint =
        CommandIconPaint(command) ? CommandIconPaint(command) : ViewIconPaint(command);
    QIcon given;
    for (int side : {16, 32}) {
      QPixmap pixmap(side, side);
      pixmap.fill(Qt::transparent);
      QPainter painter(&pixmap);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.scale(side / 16.0, side / 16.0);
      paint(painter);
      given.addPixmap(pixmap);
    }
    const QIcon drawn = ToolbarIcon(command);
    for (int side : {16, 32})
      for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected})
        EXPECT_EQ(drawn.pixmap(side, mode).toImage(), given.pixmap(side, mode).toImage())
            << command << " at " << side << " in mode " << mode;
  }
}

TEST(PicturesTest, FlagSheetHasACellForEveryListedLanguage) {
  QImage sheet = FlagSheet();
  EXPECT_EQ(sheet.size(), QSize(5 * kFlagWidth, 6 * kFlagHeight));
  for (int language : FlagSheetLanguages()) {
    QPixmap flag = LanguageFlag(language);
    ASSERT_FALSE(flag.isNull()) << language;
    EXPECT_EQ(flag.size(), QSize(kFlagWidth, kFlagHeight));
    EXPECT_GT(InkedPixels(flag.toImage()), 150) << language;
  }
  EXPECT_TRUE(LanguageFlag(999).isNull());
  EXPECT_NE(LanguageFlag(33).toImage(), LanguageFlag(39).toImage());
}

TEST(PicturesTest, DrawnPicturesHaveTheirSizes) {
  EXPECT_EQ(SplashPicture("Tavrilon").size(), QSize(kSplashWidth, kSplashHeight));
  EXPECT_EQ(StatusBarPicture().size(), QSize(43, 18));
  for (int mode : {kStartLinear, kStartReference, kStartGraphical})
    EXPECT_GT(InkedPixels(StartModePicture(mode).toImage()), 200) << mode;
  EXPECT_FALSE(ProgramIcon().isNull());
  QPixmap drawn = StatusBarPicture();
  int draws = 0;
  const auto draw = [&] {
    ++draws;
    return drawn;
  };
  EXPECT_EQ(PictureFileOr("/nonexistent.jpg", draw).cacheKey(), drawn.cacheKey());
  EXPECT_EQ(draws, 1);
  CTempFolder folder("pictures");
  const std::string file = folder.File("splash.png");
  QImage image(10, 8, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(QString::fromStdString(file)));
  const QPixmap read = PictureFileOr(QString::fromStdString(file), draw);
  EXPECT_EQ(read.size(), QSize(10, 8));
  EXPECT_EQ(draws, 1) << "a picture read from its file is not drawn as well";
}

TEST(PicturesTest, LanguageItemsShowFlagAndName) {
  QStandardItemModel model;
  auto* item = new QStandardItem(QStringLiteral("Ελληνικά"));
  item->setData(QStringLiteral("030--161"), Qt::UserRole);
  model.appendRow(item);
  CLanguageItemDelegate delegate;
  QStyleOptionViewItem option;
  option.rect = QRect(0, 0, 160, 16);
  option.state = QStyle::State_Enabled;
  option.palette.setColor(QPalette::Base, Qt::white);
  option.palette.setColor(QPalette::Text, Qt::black);
  EXPECT_EQ(delegate.sizeHint(option, model.index(0, 0)).height(), 16);
  QImage image(160, 16, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  delegate.paint(&painter, option, model.index(0, 0));
  painter.end();
  QImage flag = LanguageFlag(30).toImage();
  EXPECT_NE(image.pixel(5, 5), qRgb(255, 255, 255));  // the Greek flag's blue at the left
  bool nameDrawn = false;
  for (int x = 26; x < 160 && !nameDrawn; ++x)
    for (int y = 0; y < 16; ++y)
      if (qGray(image.pixel(x, y)) < 128) nameDrawn = true;
  EXPECT_TRUE(nameDrawn);
  image.save(QString::fromStdString(TestOutputPath("language_item.png")));
}

}  // namespace

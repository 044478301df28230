// The element images the program draws for itself. All of them are kept on one sheet,
// build/test-output/element_images.png, for review.

#include "app/ui/element_pictures.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <set>

#include "app/dorne_app.h"
#include "app/ui/icon_painting.h"
#include "platform/image.h"
#include "support/test_output.h"

namespace {

// The sheet: each picture above its name, nine to a row.
QImage Sheet(const CDorneApp& app) {
  constexpr int kColumns = 9, kCellWidth = 96, kCellHeight = 86;
  const auto& names = CDorneApp::ElementImageNames();
  const int rows = (static_cast<int>(names.size()) + kColumns - 1) / kColumns;
  QImage sheet(kColumns * kCellWidth, rows * kCellHeight, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int x = static_cast<int>(i) % kColumns * kCellWidth;
    const int y = static_cast<int>(i) / kColumns * kCellHeight;
    const CImage* image = app.FindImage(names[i]);
    if (image != nullptr) painter.drawImage(x + 16, y + 4, ElementImageToPicture(*image));
    icon::Letter(painter, QRectF(x, y + 70, kCellWidth, 14), QString::fromStdString(names[i]),
                 icon::kInk, 10, false);
  }
  return sheet;
}

TEST(ElementPictures, EveryNameHasAPictureOfItsOwn) {
  CDorneApp app;
  LoadElementImages(app);
  const auto& names = CDorneApp::ElementImageNames();
  EXPECT_TRUE(app.Images().empty());  // each is drawn when first asked for
  const QImage blank = DrawElementPicture("NO_SUCH_PICTURE");
  std::set<QByteArray> seen;
  for (const std::string& name : names) {
    const CImage* image = app.FindImage(name);
    ASSERT_NE(image, nullptr) << name;
    EXPECT_EQ(image->Description(), (CBitmapDescription{0, 64, 64, 256, 1, 32})) << name;
    const QImage picture = ElementImageToPicture(*image);
    EXPECT_EQ(picture, DrawElementPicture(name)) << name;
    EXPECT_NE(picture, blank) << name << " is drawn as nothing";
    const QByteArray bytes(reinterpret_cast<const char*>(image->Pixels().data()),
                           static_cast<qsizetype>(image->Pixels().size()));
    EXPECT_TRUE(seen.insert(bytes).second) << name << " looks like another picture";
  }
  EXPECT_EQ(app.Images().size(), names.size());
  EXPECT_TRUE(Sheet(app).save(QString::fromStdString(TestOutputPath("element_images.png"))));
}

TEST(ElementPictures, AnImageOfAnotherLayoutGivesNoPicture) {
  CImage grey("GREY");
  ASSERT_TRUE(grey.SetPicture({0, 2, 1, 2, 1, 8}, {7, 7}));
  EXPECT_TRUE(ElementImageToPicture(grey).isNull());
  EXPECT_TRUE(ElementImageToPicture(CImage("EMPTY")).isNull());
}

// The bars picture of the QG shape pages is drawn although it is no element image; it is
// written beside the sheet for review.
TEST(ElementPictures, TheBarsPictureIsDrawnOfItsOwn) {
  const QImage bars = DrawElementPicture("BARS_QG");
  EXPECT_NE(bars, DrawElementPicture("NO_SUCH_PICTURE"));
  for (const std::string& name : CDorneApp::ElementImageNames())
    EXPECT_NE(bars, DrawElementPicture(name)) << name;
  const auto& names = CDorneApp::ElementImageNames();
  EXPECT_EQ(std::find(names.begin(), names.end(), "BARS_QG"), names.end());
  EXPECT_TRUE(bars.scaled(192, 192).save(QString::fromStdString(TestOutputPath("bars_qg.png"))));
}

}  // namespace

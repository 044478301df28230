// The text dialog of an annotation with its font and colour dialogs, driven as a user
// would: what each choice leaves in the annotation on OK.

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QPushButton>
#include <QTimer>

#include <deque>

#include "model/annotation/annotation.h"
#include "model/annotation/annotation_label.h"
#include "platform/draw_types.h"
#include "platform/text_conversions.h"
#include "view/ui/annotation_dialogs.h"

namespace {

// Plays a user on the dialogs that come up: the text dialog's buttons in turn (then OK),
// and each font or colour dialog with the next choice for it (none: cancel).
class CDialogUser {
 public:
  std::deque<QString> buttons;
  std::deque<QFont> fonts;
  std::deque<QColor> colours;
  int fontDialogs = 0;
  int colourDialogs = 0;

  CDialogUser() {
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Act(); });
    m_timer.start();
  }

 private:
  void Act() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || dialog == m_last || !dialog->isVisible()) return;
    m_last = dialog;
    if (auto* fontDialog = qobject_cast<QFontDialog*>(dialog)) {
      ++fontDialogs;
      if (fonts.empty()) return fontDialog->reject();
      fontDialog->setCurrentFont(fonts.front());
      fonts.pop_front();
      return fontDialog->accept();
    }
    if (auto* colourDialog = qobject_cast<QColorDialog*>(dialog)) {
      ++colourDialogs;
      if (colours.empty() || !colours.front().isValid()) {
        if (!colours.empty()) colours.pop_front();
        return colourDialog->reject();
      }
      colourDialog->setCurrentColor(colours.front());
      colours.pop_front();
      return colourDialog->accept();
    }
    if (qobject_cast<CTextLabelDlg*>(dialog) == nullptr) return dialog->reject();
    const QString name = buttons.empty() ? QStringLiteral("1") : buttons.front();
    if (!buttons.empty()) buttons.pop_front();
    if (auto* button = dialog->findChild<QPushButton*>(name))
      QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
  }

  QTimer m_timer;
  QDialog* m_last = nullptr;
};

std::uint32_t ColorRef(QColor colour) {
  return CColor{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                static_cast<std::uint8_t>(colour.blue())}
      .ToColorRef();
}

TEST(AnnotationDialogsTest, TheFontAndColourDialogsSetTheTextsFontColourAndBackground) {
  const QFont chosen(QApplication::font().family(), 14);
  const struct {
    const char* what;
    std::vector<QString> buttons;
    std::vector<QFont> fonts;
    std::vector<QColor> colours;
    int fontDialogs, colourDialogs;
    bool fontChanged;
    QColor ink, paper;  // invalid: as before
  } cases[] = {
      {"font, its colour and the background",
       {"1032", "1045"},
       {chosen},
       {Qt::red, Qt::blue},
       1,
       2,
       true,
       Qt::red,
       Qt::blue},
      {"the font dialog cancelled asks no colour", {"1032"}, {}, {}, 1, 0, false, {}, {}},
      {"the colour cancelled keeps the font chosen",
       {"1032"},
       {chosen},
       {QColor()},
       1,
       1,
       true,
       {},
       {}},
      {"the background dialog cancelled", {"1045"}, {}, {QColor()}, 0, 1, false, {}, {}},
  };
  for (const auto& c : cases) {
    CAnnotationLabel label(CAnnotation::kText);
    label.SetText("Words");
    label.SetFont(TextToLogFont("Arial,10,0"));
    label.SetFontColor(0x00102030);
    label.SetBackground(0x00405060);
    CDialogUser user;
    user.buttons.assign(c.buttons.begin(), c.buttons.end());
    user.fonts.assign(c.fonts.begin(), c.fonts.end());
    user.colours.assign(c.colours.begin(), c.colours.end());
    const int result = CTextLabelDlg(label, nullptr).Run();
    EXPECT_EQ(result, 1) << c.what;
    EXPECT_EQ(user.fontDialogs, c.fontDialogs) << c.what;
    EXPECT_EQ(user.colourDialogs, c.colourDialogs) << c.what;
    if (c.fontChanged) {
      EXPECT_EQ(label.GetFont().faceName, chosen.family().toStdString()) << c.what;
      EXPECT_EQ(label.GetFont().height, 14) << c.what;
    } else {
      EXPECT_EQ(label.GetFont().faceName, "Arial") << c.what;
      EXPECT_EQ(label.GetFont().height, 10) << c.what;
    }
    EXPECT_EQ(label.GetFontColor(), c.ink.isValid() ? ColorRef(c.ink) : 0x00102030u) << c.what;
    EXPECT_EQ(label.GetBackground(), c.paper.isValid() ? ColorRef(c.paper) : 0x00405060u) << c.what;
  }
}

}  // namespace

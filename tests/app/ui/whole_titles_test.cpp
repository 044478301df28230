#include "app/ui/whole_titles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString kLong =
    QString::fromUtf8("Coffrets de d\xC3\xA9rivation: Coffrets \xC3\xA0 fusibles");

// A dialog as wide as its one control asks.
std::unique_ptr<QWidget> Window(bool dialog, const QString& title, const QString& contents) {
  std::unique_ptr<QWidget> window =
      dialog ? std::make_unique<QDialog>() : std::make_unique<QWidget>();
  auto* layout = new QVBoxLayout(window.get());
  layout->addWidget(new QLabel(contents));
  window->setWindowTitle(title);
  return window;
}

TEST(WholeTitlesTest, ADialogIsShownAsWideAsItsTitle) {
  CWholeTitles::Install();
  CWholeTitles::Install();  // a second install adds no second filter
  enum class Expect { kTitle, kAsItWas, kItsMaximum };
  const struct {
    const char* fault;
    bool dialog;
    QString title;
    int fixed, maximum;  // 0: none
    bool renamed;        // the title comes once the dialog shows
    Expect expect;
  } cases[] = {
      {"a long title is cut", true, kLong, 0, 0, false, Expect::kTitle},
      {"a title given later is cut", true, kLong, 0, 0, true, Expect::kTitle},
      {"a short title narrows nothing", true, QStringLiteral("OK"), 0, 0, false, Expect::kAsItWas},
      {"a fixed size is broken", true, kLong, 120, 0, false, Expect::kAsItWas},
      {"a maximum is passed", true, kLong, 0, 150, false, Expect::kItsMaximum},
      {"a main window is touched", false, kLong, 0, 0, false, Expect::kAsItWas},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    // The short title's dialog is wider than a title bar needs for it.
    const QString contents = c.title == kLong ? QStringLiteral("16 A") : kLong + kLong;
    std::unique_ptr<QWidget> window = Window(c.dialog, c.renamed ? QString() : c.title, contents);
    if (c.fixed > 0) window->setFixedSize(c.fixed, 80);
    if (c.maximum > 0) window->setMaximumWidth(c.maximum);
    window->adjustSize();
    const int before = window->width();
    window->show();
    if (c.renamed) window->setWindowTitle(kLong);
    const int title = CWholeTitles::TitleWidth(window->windowTitle(), window->font());
    ASSERT_NE(before, title);
    switch (c.expect) {
      case Expect::kTitle: EXPECT_EQ(window->width(), title); break;
      case Expect::kAsItWas: EXPECT_EQ(window->width(), before); break;
      case Expect::kItsMaximum: EXPECT_EQ(window->width(), c.maximum); break;
    }
  }
  delete qApp->findChild<CWholeTitles*>();  // the other tests see dialogs as they are
}

}  // namespace

#include "app/ui/model_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "language_ui_test_support.h"

namespace {

// Enter takes the model shown (OK), even with the focus on Browse: Browse is not a
// default button and opens only when clicked.
TEST(ModelDlgTest, EnterTakesTheModelNotBrowse) {
  const CTestLanguage french("00321=Nouveau projet\r\n00323=Parcourir...\r\n02710=OK\r\n");
  CModelDlg dialog(QStringLiteral("/tmp/model.run"));
  auto* browse = dialog.findChild<QPushButton*>(QString::number(CModelDlg::kBrowseButton));
  ASSERT_NE(browse, nullptr);
  // As after Browse was used once and its file dialog cancelled: the focus is on Browse.
  QTimer::singleShot(0, &dialog, [&dialog, browse] {
    browse->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(browse, &press);
  });
  // Had Browse answered, its file dialog would be up: close it, then the model dialog.
  // Tied to the dialog, so that it cannot fire into a later test once the dialog is gone.
  QTimer::singleShot(300, &dialog, [&dialog] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal != &dialog && modal != nullptr)
      modal->close();
    QTimer::singleShot(100, &dialog, [&dialog] { dialog.reject(); });
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_FALSE(browse->isDefault());
  EXPECT_FALSE(browse->autoDefault());
  EXPECT_EQ(dialog.ModelPath(), "/tmp/model.run");
}

}  // namespace

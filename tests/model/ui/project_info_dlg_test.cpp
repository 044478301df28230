#include "model/ui/project_info_dlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/unit_entry.h"
#include "model/document/doc_props.h"
#include "model/document/dorne_doc.h"
#include "shell_test_support.h"

namespace {

class ProjectInfoDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramLanguage();
    m_units = {{"10", "", "Millimetres", "%f|mm", "1", "%.0f|mm", "1", "1"},
               {"20", "", "Metres", "%f|m", "1000", "%.2f|m", "1000", "1"},
               {"30", "", "Inches", "%f|in", "25.4", "%.1f|in", "25.4", "25.4"}};
    CDocEnvironment environment;
    environment.units = &m_units;
    m_document = std::make_unique<CDorneDoc>(environment);
    m_document->OnNewDocument("07/12/2026");
    m_document->GetProps().SetPropValue("Comment", "first floor");
    m_document->GetProps().SetPropValue("Ville", "Lyon");
  }

  std::unique_ptr<CProjectInfoDlg> Open(bool withDocument) {
    auto dialog = std::make_unique<CProjectInfoDlg>(m_dialogs);
    if (withDocument) dialog->SetDocument(m_document.get(), &m_units);
    dialog->SetProps(&m_document->GetProps(), QString::fromStdString(m_folder.Folder()));
    return dialog;
  }

  template <typename T>
  static T* Control(QWidget& dialog, const char* id) {
    return dialog.findChild<T*>(QString::fromLatin1(id));
  }

  std::vector<CUnitEntry> m_units;
  std::unique_ptr<CDorneDoc> m_document;
  CScriptedDialogs m_dialogs;
  CTempFolder m_folder{"info"};
};

TEST_F(ProjectInfoDlgTest, ShowsTheBlockAndChoosesTheUnitOnOk) {
  m_document->SetLengthUnit(20);
  auto dialog = Open(true);
  EXPECT_EQ(Control<QLineEdit>(*dialog, "1008")->text(), "Lyon");
  EXPECT_EQ(Control<QPlainTextEdit>(*dialog, "1010")->toPlainText(), "first floor");
  QComboBox* units = Control<QComboBox>(*dialog, "1064");
  ASSERT_EQ(units->count(), 3);
  EXPECT_EQ(units->currentIndex(), 1);
  SaveScreenshot(*dialog, "project_info_dialog");
  units->setCurrentIndex(2);
  Control<QLineEdit>(*dialog, "1006")->setText("Hall B");
  Control<QPlainTextEdit>(*dialog, "1010")->setPlainText("");
  m_document->SetModifiedFlag(false);
  dialog->Apply();
  EXPECT_EQ(m_document->GetLengthUnitId(), 30);
  EXPECT_EQ(m_document->GetDocProperty("Name"), "Hall B");
  EXPECT_TRUE(m_document->IsModified());
  EXPECT_FALSE(m_document->GetProps().HasProp("Comment"));
  units->setCurrentIndex(-1);
  dialog->Apply();
  EXPECT_EQ(m_document->GetLengthUnitId(), -1);
}

TEST_F(ProjectInfoDlgTest, WithoutADocumentTheUnitListIsHidden) {
  auto dialog = Open(false);
  dialog->show();
  EXPECT_FALSE(Control<QComboBox>(*dialog, "1064")->isVisible());
  EXPECT_FALSE(Control<QLabel>(*dialog, "1103")->isVisible());
  Control<QLineEdit>(*dialog, "1006")->setText("Linear study");
  dialog->Apply();
  EXPECT_EQ(m_document->GetDocProperty("Name"), "Linear study");
  EXPECT_FALSE(m_document->IsModified());
}

TEST_F(ProjectInfoDlgTest, CustomerFileSavedAndLoadedThroughTheButtons) {
  auto dialog = Open(true);
  Control<QLineEdit>(*dialog, "1020")->setText("Forges SA");
  const QString path = QString::fromStdString(m_folder.File("forges.t0p"));
  m_dialogs.filesToSave = {path};
  Control<QToolButton>(*dialog, "4")->click();
  EXPECT_TRUE(m_dialogs.saveSuggestions.value(0).endsWith("Forges SA.t0p"));
  Control<QLineEdit>(*dialog, "1020")->setText("changed");
  Control<QLineEdit>(*dialog, "1008")->setText("changed");
  m_dialogs.filesToOpen = {path};
  Control<QToolButton>(*dialog, "3")->click();
  EXPECT_EQ(Control<QLineEdit>(*dialog, "1020")->text(), "Forges SA");
  EXPECT_EQ(Control<QLineEdit>(*dialog, "1008")->text(), "Lyon");
  m_dialogs.filesToOpen = {QString::fromStdString(m_folder.File("absent.t0p"))};
  Control<QToolButton>(*dialog, "3")->click();
  EXPECT_EQ(m_dialogs.messages.size(), 1);
  EXPECT_EQ(Control<QLineEdit>(*dialog, "1020")->text(), "Forges SA");
}

}  // namespace

#include "shell/ui/layout_doc_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/ui/command_ids.h"
#include "shell/ui/document_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/run_documents.h"
#include "model/dorne_doc.h"
#include "model/undo_manager.h"
#include "frame_test_support.h"

namespace {

class LayoutDocWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CMainFrame& frame = m_fixture.Frame();
    frame.EnterGraphicalMode();
    m_fixture.Commands().NewFromModel(false);
    m_window = frame.MdiArea()->subWindowList().value(0);
    ASSERT_NE(m_window, nullptr);
    m_document = m_fixture.Documents().DocumentOf(m_window);
    m_view = qobject_cast<CLayoutDocWindow*>(m_window->widget());
  }

  CFrameFixture m_fixture;
  QMdiSubWindow* m_window = nullptr;
  CDorneDoc* m_document = nullptr;
  CLayoutDocWindow* m_view = nullptr;
};

TEST_F(LayoutDocWindowTest, SaveProposesTheJobNumberAndPutsBackOnCancel) {
  m_document->GetProps().SetPropValue("NumAff", "42");
  m_document->GetProps().SetPropValue("ModificationDate", "old date");
  ASSERT_TRUE(m_view->OnCommand(kIdFileSave));  // the Save As dialog is cancelled
  EXPECT_TRUE(m_fixture.dialogs.saveSuggestions.value(0).endsWith("42_Untitled1.run"));
  EXPECT_EQ(m_view->windowTitle(), "Untitled1");
  EXPECT_EQ(m_document->GetDocProperty("ModificationDate"), "old date");
  const QString path = QString::fromStdString(m_fixture.folder.Path("documents/plan.run"));
  m_fixture.dialogs.filesToSave = {path};
  ASSERT_TRUE(m_view->OnCommand(kIdFileSave));
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(m_view->windowTitle(), "plan.run");
  EXPECT_NE(m_document->GetDocProperty("ModificationDate"), "old date");
  EXPECT_FALSE(m_document->IsModified());
}

TEST_F(LayoutDocWindowTest, UndoAndRedoNameTheStepInTheMenu) {
  CCommandState state;
  ASSERT_TRUE(m_view->UpdateCommand(kIdEditUndo, state));
  EXPECT_FALSE(state.enabled);
  m_document->GetUndo().SaveUndoState(21060);
  m_document->SetDocPropertyModified("Name", "changed");
  ASSERT_TRUE(m_view->UpdateCommand(kIdEditUndo, state));
  EXPECT_TRUE(state.enabled);
  ASSERT_TRUE(state.text.has_value());
  EXPECT_TRUE(state.text->startsWith("Undo : ")) << state.text->toStdString();
  EXPECT_LE(state.text->size(), 75);
  ASSERT_TRUE(m_view->OnCommand(kIdEditUndo));
  EXPECT_EQ(m_document->GetDocProperty("Name"), "");
  ASSERT_TRUE(m_view->OnCommand(kIdEditRedo));
  EXPECT_EQ(m_document->GetDocProperty("Name"), "changed");
}

}  // namespace

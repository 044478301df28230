#include "shell/ui/application_shell.h"
#include "model/run/run_factory.h"
#include "ranges/range_context.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QThread>
#include <QTimer>
#include <QMenuBar>
#include <QToolBar>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "app/current_language.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/single_instance.h"
#include "app/ui/splash_dlg.h"
#include "app/ui/translator.h"
#include "platform/dbf_table.h"
#include "frame_test_support.h"

namespace {

namespace fs = std::filesystem;

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A shell whose questions the test answers, on its own settings and documents folders.
class ApplicationShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DOCUMENTS_DIR", m_folder.Path("documents").c_str(), 1);
    auto dialogs = std::make_unique<CScriptedDialogs>();
    m_dialogs = dialogs.get();
    m_shell = std::make_unique<CApplicationShell>(std::move(dialogs));
    static int counter = 0;
    m_shell->SetSingleInstanceName(
        QStringLiteral("tvr-shell-test-%1-%2").arg(::getpid()).arg(++counter));
    // Never the real restart: it would start this test program again.
    m_shell->SetProcessStarter([](const QString&, const QStringList&) {
      ADD_FAILURE() << "unexpected restart";
      return false;
    });
  }
  void TearDown() override {
    m_shell.reset();
    ProcessEvents();
    ::unsetenv("XDG_DOCUMENTS_DIR");
    CCurrentLanguage::Instance().Reset();
    CTranslator::Instance().Reset();
  }
  bool Start(const QStringList& arguments) {
    return m_shell->InitInstance(QStringList{"tvr"} + arguments);
  }
  QString Messages() const { return m_dialogs->messages.join(" | "); }

  CShellTestFolder m_folder;
  CScriptedDialogs* m_dialogs = nullptr;
  std::unique_ptr<CApplicationShell> m_shell;
};

TEST_F(ApplicationShellTest, StartsOnTheSampleCatalogueInItsLanguageAndAsksForTheWayOfWorking) {
  const std::tuple<const char*, const char*, const char*> languages[] = {
      {"044", "&File", "Cancel"}, {"033", "&Fichier", "Annuler"}};
  for (const auto& [language, fileMenu, qtCancel] : languages) {
    SetUp();
    m_folder.WriteSettings(std::string("[Language]\nID=") + language + "\n");
    ASSERT_TRUE(Start({"/nsplash"}));
    CMainFrame* frame = m_shell->Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->Mode(), EFrameMode::Empty);  // the first document came and went
    EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty() ||
                !frame->MdiArea()->currentSubWindow());
    EXPECT_EQ(m_dialogs->offeredModes, QStringList{"LRG"});
    EXPECT_TRUE(m_dialogs->messages.isEmpty()) << Messages().toStdString();
    EXPECT_FALSE(m_shell->Catalogues().empty());
    EXPECT_FALSE(m_shell->Units().empty());
    EXPECT_GE(m_shell->Languages().size(), 2u);
    EXPECT_GE(m_shell->App().CurrentCatalogue(), 1);
    // The element images the pages ask for by name.
    for (const std::string& name : CDorneApp::ElementImageNames())
      EXPECT_NE(m_shell->App().FindImage(name), nullptr) << name;
    EXPECT_EQ(frame->menuBar()->actions().front()->text(), fileMenu);
    // Qt's own dialogs speak the interface's language too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), qtCancel);
    // The window system adds a display name to every title: the frame's already has it.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_TRUE(m_shell->SingleInstance()->IsListening());
    // Runs of the catalogue's ranges are made by their range classes, on the tables of
    // the catalogue folder.
    EXPECT_TRUE(CRunFactory::Instance().IsRegistered("QD"));
    EXPECT_EQ(CRangeContext::Instance().CatalogueFolder(), m_shell->App().CatalogueFolder());
  }
}

TEST_F(ApplicationShellTest,
       TheDesignToolbarsShowInGraphicalWorkAndKeepTheUsersChoiceAcrossStarts) {
  m_folder.WriteSettings("[Language]\nID=044\n");
  auto shown = [this] {
    QList<bool> bars;
    for (QToolBar* bar : m_shell->Frame()->ToolBars().DesignBars()) bars << bar->isVisible();
    return bars;
  };
  m_dialogs->startModes = {kStartGraphical};
  ASSERT_TRUE(Start({"/nsplash"}));
  ASSERT_EQ(m_shell->Frame()->Mode(), EFrameMode::Graphical);
  EXPECT_EQ(shown(), (QList<bool>{true, true, true, true}));
  m_shell->Frame()->RouteCommand(CFrameToolBars::kDesignBars[1]);  // the user hides one
  ASSERT_TRUE(m_shell->Frame()->close());
  SetUp();
  m_dialogs->startModes = {kStartGraphical};
  ASSERT_TRUE(Start({"/nsplash"}));
  EXPECT_EQ(shown(), (QList<bool>{true, false, true, true}));
}

TEST_F(ApplicationShellTest, WithoutTheArticleTableTheProgramEndsWithAClearMessageInItsLanguage) {
  struct Case {
    const char* language;
    std::string articleFolder;
    const char* reason;  // in the interface's language, never the system's English
  };
  const std::string empty = m_folder.Path("empty-articles");
  fs::create_directories(empty);
  const std::string damaged = m_folder.Write("damaged/ARTICLE.DBU", "not a table");
  const Case cases[] = {
      {"044", m_folder.Path("no-such-folder"), "The folder does not exist."},
      {"033", m_folder.Path("no-such-folder"), "Le dossier n'existe pas."},
      {"044", empty, "The file does not exist."},
      {"033", fs::path(damaged).parent_path().string(), "Le fichier ne peut pas être lu"}};
  for (const Case& c : cases) {
    SetUp();
    m_folder.WriteSettings(std::string("[Language]\nID=") + c.language + "\n", "", c.articleFolder);
    EXPECT_FALSE(Start({"/nsplash"}));
    EXPECT_EQ(m_shell->ExitCode(), 1);
    ASSERT_EQ(m_dialogs->messages.size(), 1);
    const QString& text = m_dialogs->messages[0];
    EXPECT_TRUE(text.contains("ARTICLE.DBU", Qt::CaseInsensitive)) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(c.reason))) << text.toStdString();
    EXPECT_TRUE(text.contains("Tavrilon") && !text.contains("%APP")) << text.toStdString();
    EXPECT_TRUE(m_shell->App().ArticleFolder().empty());
    EXPECT_EQ(m_shell->Frame(), nullptr);
  }
}

TEST_F(ApplicationShellTest, AMissingCatalogueFolderIsToldAndTheProgramStillWorks) {
  m_folder.WriteSettings("[Language]\nID=033\n", m_folder.Path("no-catalogue"));
  m_shell->SetProgramFolder(std::string(TVR_PROGRAM_DIR) + "/");  // where the language files ship
  ASSERT_TRUE(Start({"/nsplash"}));
  ASSERT_GE(m_dialogs->messages.size(), 1);
  const QString& text = m_dialogs->messages[0];
  // In plain words from its first line: which language file, where it was looked for.
  EXPECT_TRUE(text.startsWith(
      QStringLiteral("The language file TVR_033.TXT cannot be found in the folder %1.")
          .arg(QString::fromStdString(m_folder.Path("no-catalogue")))))
      << text.toStdString();
  EXPECT_TRUE(text.contains("\n\nSome catalogue tables could not be read")) << text.toStdString();
  EXPECT_TRUE(m_dialogs->messages[0].contains("dims.dbf")) << Messages().toStdString();
  EXPECT_EQ(m_shell->Frame()->menuBar()->actions().front()->text(),
            "&File");  // the shipped English texts
  EXPECT_TRUE(m_shell->Catalogues().empty());
  EXPECT_TRUE(m_shell->Languages().empty());
  EXPECT_EQ(m_shell->Frame()->Mode(), EFrameMode::Empty);
  EXPECT_EQ(m_dialogs->offeredModes.size(), 1);
}

// A layout opened without its catalogue: one box names every table it could not read,
// with its line breaks as line breaks.
TEST_F(ApplicationShellTest, TheTablesALayoutCannotReadAreToldInOneBox) {
  m_folder.WriteSettings("[Language]\nID=033\n", m_folder.Path("no-catalogue"));
  m_shell->SetProgramFolder(std::string(TVR_PROGRAM_DIR) + "/");
  ASSERT_TRUE(Start({"/nsplash"}));
  const qsizetype before = m_dialogs->messages.size();
  for (const QString& message : m_dialogs->messages)
    EXPECT_FALSE(message.contains(QStringLiteral("\\n"))) << message.toStdString();
  QString path = QStringLiteral(TVR_PROGRAM_DIR "/examples/qd_sample.run");
  m_shell->Frame()->OpenAnyFile(path);
  ProcessEvents();
  const QStringList later = m_dialogs->messages.mid(before);
  ASSERT_EQ(later.size(), 1) << Messages().toStdString();
  EXPECT_FALSE(later[0].contains(QStringLiteral("\\n"))) << later[0].toStdString();
  EXPECT_GE(later[0].count(QStringLiteral("no-catalogue/")), 2) << later[0].toStdString();
}

TEST_F(ApplicationShellTest, EmptyStartUpTablesGiveEmptyLists) {
  std::string folder = m_folder.Path("empty-catalogue/");
  fs::create_directories(folder);
  const std::pair<const char*, std::vector<tvr::platform::DbfFieldInfo>> tables[] = {
      {"dims.dbf",
       {{"IDD", 'C', 8},
        {"IDL", 'C', 8},
        {"LIB", 'C', 8},
        {"INPUTSTR", 'C', 8},
        {"INPUTCOEF", 'C', 8},
        {"OUTPUTSTR", 'C', 8},
        {"OUTPUTCOEF", 'C', 8},
        {"BASECOEF", 'C', 8}}},
      {"catalog.dbf", {{"ID", 'C', 8}, {"LIB", 'C', 8}, {"SEQ", 'N', 4}}},
      {"devices.dbf", {{"ID", 'C', 8}, {"LIB", 'C', 8}}}};
  for (const auto& [name, fields] : tables) {
    tvr::platform::CDbfTable table;
    ASSERT_TRUE(table.Create(folder + name, fields)) << table.Error();
    ASSERT_TRUE(table.Close());
  }
  fs::copy_file(std::string(TVR_PROGRAM_DIR) + "/DBF/TVR_044.TXT", folder + "TVR_044.TXT");
  m_folder.WriteSettings("[Language]\nID=044\n", folder);
  ASSERT_TRUE(Start({"/nsplash"}));
  EXPECT_TRUE(m_dialogs->messages.isEmpty()) << Messages().toStdString();
  EXPECT_TRUE(m_shell->Units().empty());
  EXPECT_TRUE(m_shell->Catalogues().empty());
  EXPECT_TRUE(m_shell->Devices().empty());
  EXPECT_EQ(m_shell->Languages().size(), 1u);
}

TEST_F(ApplicationShellTest, NonsenseSettingsStillStart) {
  m_folder.WriteSettings(
      "CurrentCat=77\nJustOneCat=perhaps\nNoML=banana\n[Language]\nID=xyz\n[Design]\nInfos="
      "abc\nSpecial=-9\n"
      "[Colors]\nStraight1=999,-1,x\n[Zooms]\nAll=nan\n[Application Layout]\nShowCmd=-3\n"
      "NormalPos=Left x\nMinPos=Top 1\n[ToolBar]\nState=@@not base64@@\n[Recent File "
      "List]\nFile1=\nFile2=/nowhere.run\n");
  ASSERT_TRUE(Start({"/nsplash"}));
  CMainFrame* frame = m_shell->Frame();
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(m_shell->App().CurrentCatalogue(), 1);
  EXPECT_EQ(frame->size(), QSize(624, 448));
  EXPECT_EQ(m_shell->RecentFiles().Entries().size(), 1u);
  EXPECT_EQ(m_dialogs->offeredModes, QStringList{"LRG"});
}

TEST_F(ApplicationShellTest, AFileOnTheCommandLineOpensWithoutTheChoiceOrIsToldThenTheChoiceComes) {
  m_folder.WriteSettings("[Language]\nID=044\n");
  struct Case {
    std::string file;
    EFrameMode mode;
    bool told;  // told of the file, then offered the ways of working
  };
  const Case cases[] = {
      {m_folder.Path("documents/none.run"), EFrameMode::Empty, true},
      {m_folder.Write("documents/bad.run", "\xff\xff\xff"), EFrameMode::Empty, true},
      {m_folder.Write("documents/good.run", LayoutFileBytes()), EFrameMode::Graphical, false},
      // A linear project opens in its window, which stays.
      {m_folder.Write("documents/good.lin", FileBytes(TVR_SOURCE_DIR "/data/examples/sample.lin")),
       EFrameMode::Linear, false}};
  for (const Case& c : cases) {
    SetUp();
    ASSERT_TRUE(Start({QString::fromStdString(c.file), "/nsplash"}));
    ASSERT_EQ(m_dialogs->messages.size(), c.told ? 1 : 0) << c.file;
    if (c.told) {
      EXPECT_TRUE(m_dialogs->messages[0].contains(QString::fromStdString(c.file)))
          << Messages().toStdString();
    }
    EXPECT_EQ(m_dialogs->offeredModes.size(), c.told ? 1 : 0) << c.file;
    EXPECT_EQ(m_shell->Frame()->Mode(), c.mode) << c.file;
  }
}

// The settings file is replaced whole at every write, so an unchanged inode means it was
// not written.
TEST_F(ApplicationShellTest, AStartWithTheFileListedFirstLeavesTheSettingsFileAlone) {
  const std::string listed = m_folder.Write("documents/listed.run", LayoutFileBytes());
  const std::string other = m_folder.Write("documents/other.run", LayoutFileBytes());
  const std::string settings = m_folder.SettingsFolder() + "TVR.INI";
  const struct {
    std::string file;
    bool written;
  } cases[] = {{listed, false}, {other, true}};
  for (const auto& c : cases) {
    SetUp();
    m_folder.WriteSettings("[Language]\nID=044\n[Recent File List]\nFile1=" + listed + "\n");
    const auto inode = [&settings] {
      struct stat info {};
      return ::stat(settings.c_str(), &info) == 0 ? info.st_ino : 0;
    };
    const ino_t inodeBefore = inode();
    ASSERT_TRUE(Start({QString::fromStdString(c.file), "/nsplash"}));
    EXPECT_EQ(m_shell->Frame()->Mode(), EFrameMode::Graphical) << c.file;
    EXPECT_EQ(m_shell->RecentFiles().Entry(0), c.file);
    EXPECT_EQ(inode() != inodeBefore, c.written) << c.file;
  }
}

TEST_F(ApplicationShellTest, TheInformationDialogAtStartUp) {
  m_folder.WriteSettings("[Language]\nID=044\n");
  QStringList started;
  auto starter = [&started](const QString& program, const QStringList& arguments) {
    started << program << arguments;
    return true;
  };
  m_shell->SetProcessStarter(starter);
  m_dialogs->infoResults = {QDialog::Rejected};
  EXPECT_FALSE(Start({}));  // Cancel ends the program
  ASSERT_EQ(m_dialogs->infoSetups.size(), 1);
  EXPECT_EQ(m_dialogs->infoSetups[0].mode, EInfoMode::Startup);
  EXPECT_EQ(m_dialogs->infoSetups[0].currentLanguage, 44);
  EXPECT_TRUE(started.isEmpty());
  SetUp();
  m_shell->SetProcessStarter(starter);
  std::string file = m_folder.Write("documents/a b.run", LayoutFileBytes());
  m_dialogs->infoResults = {kInfoLanguageChanged};
  EXPECT_FALSE(Start({QString::fromStdString(file)}));  // restarted: this start ends
  ASSERT_EQ(started.size(), 3);
  EXPECT_EQ(started.mid(1), (QStringList{QString::fromStdString(file), "/nsplash"}));
  EXPECT_FALSE(m_shell->SingleInstance()->IsListening());  // the name is left to the new copy
}

TEST_F(ApplicationShellTest, AFailedRestartIsToldAndTheProgramGoesOn) {
  m_folder.WriteSettings("[Language]\nID=044\n");
  m_shell->SetProcessStarter([](const QString&, const QStringList&) { return false; });
  m_dialogs->infoResults = {kInfoLanguageChanged};
  ASSERT_TRUE(Start({}));
  ASSERT_EQ(m_dialogs->messages.size(), 1);
  EXPECT_TRUE(m_dialogs->messages[0].contains("could not be restarted"))
      << Messages().toStdString();
  EXPECT_TRUE(m_shell->Frame()->isVisible());
  EXPECT_TRUE(m_shell->SingleInstance()->IsListening());
  EXPECT_EQ(m_dialogs->offeredModes.size(), 1);
}

// Documents may be open behind the About box: a new language is for the next start.
TEST_F(ApplicationShellTest, ALanguageChosenInTheAboutBoxIsForTheNextStart) {
  m_folder.WriteSettings("[Language]\nID=044\n[Design]\nInfos=0\n");
  ASSERT_TRUE(Start({}));
  m_dialogs->messages.clear();
  m_dialogs->infoResults = {kInfoLanguageChanged};
  m_shell->ShowAbout(m_shell->Frame());
  ASSERT_EQ(m_dialogs->infoSetups.size(), 1);
  EXPECT_EQ(m_dialogs->infoSetups[0].mode, EInfoMode::About);
  ASSERT_EQ(m_dialogs->messages.size(), 1);
  EXPECT_TRUE(m_dialogs->messages[0].contains("next start")) << Messages().toStdString();
  m_dialogs->infoResults = {QDialog::Accepted};
  m_shell->ShowAbout(m_shell->Frame());  // nothing changed: nothing to say
  EXPECT_EQ(m_dialogs->messages.size(), 1);
}

TEST_F(ApplicationShellTest, TheSplashGoesWithTheShellWhenTheProgramEndsEarly) {
  auto splashes = [] {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
      count += qobject_cast<CSplashDlg*>(widget) != nullptr;
    return count;
  };
  m_folder.WriteSettings("[Language]\nID=044\n[Design]\nInfos=0\n");
  ASSERT_TRUE(Start({}));
  EXPECT_TRUE(m_dialogs->infoSetups.isEmpty()) << "the user said so";
  ASSERT_EQ(splashes(), 1);  // well within its showing time
  m_shell.reset();
  EXPECT_EQ(splashes(), 0);
}

TEST_F(ApplicationShellTest, AHandedOverFileWaitsForAnOpenDialogAndBringsTheFrameForward) {
  m_folder.WriteSettings("[Language]\nID=044\n");
  ASSERT_TRUE(Start({"/nsplash"}));
  m_shell->Frame()->showMinimized();
  std::string layout = m_folder.Write("documents/later.run", LayoutFileBytes());
  QDialog question(m_shell->Frame());
  QTimer::singleShot(0, [&] {
    m_shell->OnHandOver(QString::fromStdString(layout));
    EXPECT_EQ(m_shell->Frame()->Mode(), EFrameMode::Empty);  // not under the dialog
    EXPECT_FALSE(m_shell->Frame()->isMinimized());
    QTimer::singleShot(50, &question, &QDialog::accept);
  });
  question.exec();
  for (int round = 0; round < 100 && m_shell->Frame()->Mode() != EFrameMode::Graphical; ++round) {
    QThread::msleep(10);
    ProcessEvents();
  }
  EXPECT_EQ(m_shell->Frame()->Mode(), EFrameMode::Graphical);
}

}  // namespace

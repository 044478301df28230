#pragma once

// The property window's host over a sample document: English texts, the window's place
// kept in a settings file of its own, and the pages' messages collected instead of shown.

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>
#include <string>

#include "app/current_language.h"
#include "app/profile.h"
#include "pages/ui/prop_dialog.h"
#include "pages/ui/prop_page_dialog.h"
#include "pages/ui/prop_window_host.h"
#include "support/temp_folder.h"

template <class Sample>
class PropWindowFixture : public Sample {
 protected:
  void SetUp() override {
    Sample::SetUp();
    CLanguageSetup setup;
    setup.catalogueFolder = TVR_PROGRAM_DIR "/DBF/";
    CCurrentLanguage::Instance().Reset();
    CCurrentLanguage::Instance().SetSetup(setup);
    CCurrentLanguage::Instance().LoadLanguage("044");
    m_windowSettings.WriteFile("TVR.INI", "[Dialog Property]\nLeft=40\nTop=30\n");
    m_windowProfile = std::make_unique<CProfile>(m_windowSettings.File("TVR.INI"));
    CPropWindowSetup windowSetup;
    windowSetup.profile = m_windowProfile.get();
    host = std::make_unique<CPropWindowHost>([windowSetup] { return windowSetup; },
                                             [] { return nullptr; });
    m_previousHandler =
        SetPageMessageHandler([this](QWidget*, const QString& text) { messages << text; });
  }
  void TearDown() override {
    SetPageMessageHandler(m_previousHandler);
    host.reset();
    CCurrentLanguage::Instance().Reset();
    Sample::TearDown();
  }

  // The window pinned, showing the one page for the object.
  CPropDialog& Show(CObjWithProp* object, int page) {
    host->OpenPropDialog();
    CPropDialog& window = *host->Window();
    window.SetPinned(true);
    window.ShowPages(object, {page});
    window.show();
    EXPECT_NE(window.CurrentPage(), nullptr);
    return window;
  }
  // A control of the page shown, by its id; null when no page shows.
  template <class Widget>
  Widget* Control(CPropDialog& window, const char* id) {
    return window.CurrentPage() != nullptr ? window.CurrentPage()->template findChild<Widget*>(id)
                                           : nullptr;
  }

  // A key of the window's settings section as the file holds it now.
  std::string ReadWindowSetting(const char* key) {
    return CProfile(m_windowSettings.File("TVR.INI")).ReadProfileText("Dialog Property", key, "");
  }

  std::unique_ptr<CPropWindowHost> host;
  QStringList messages;

 private:
  CTempFolder m_windowSettings{"propwin"};
  std::unique_ptr<CProfile> m_windowProfile;
  CPageMessageHandler m_previousHandler;
};

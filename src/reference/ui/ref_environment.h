#pragma once

#include "linear/ui/linear_environment.h"
#include "reference/ui/ref_core.h"

// What the reference window reads of the application: what the linear window reads
// (settings, folders, questions, user name, spreadsheet helper), and the places of its
// option lists and of its catalogue. The program fills it from the application; tests
// fill it by hand.
struct CRefEnvironment {
  CLinearEnvironment common;
  CRefConfigSetup configSetup;
  CRefCatalogueSetup catalogueSetup;
  // [Database] "Packaging": totals round quantities up to the articles' pack quantities.
  bool packQuantities = false;

  static CRefEnvironment FromApp(CDorneApp& app, CShellDialogs& dialogs,
                                 std::function<void(const QString&)> opened);
};

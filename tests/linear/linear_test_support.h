#pragma once

#include <string>
#include <vector>

#include "linear/linear_line.h"
#include "linear/linear_notifier.h"
#include "linear/linear_price_settings.h"
#include "linear/linear_tables.h"

// The sample catalogue of the program folder, the English texts, and a notifier that
// records what it is told.
class CRecordingNotifier : public CLinearNotifier {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

CLinearFolders SampleFolders();
class CPrintHelperLauncher;

// Waits (ten seconds at most) until the spreadsheet helper last started has ended.
void WaitForHelper(CPrintHelperLauncher& launcher);

// Loads the English language file of the program folder (reset on destruction).
class CEnglishTexts {
 public:
  CEnglishTexts();
  ~CEnglishTexts();
};

// A line with every slot -1, the given product, rating and conductors in a group.
CLinearLine MakeLine(int group, int product, int rating, int conductors, int ipDegree);

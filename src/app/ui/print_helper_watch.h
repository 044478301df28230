#pragma once

#include <functional>

class CPrintHelperLauncher;
class QObject;

// Waits, with the event loop running, for the spreadsheet helper last started by the
// launcher to end, then calls `ended` once with its exit code (never for -1: no helper was
// kept). The wait ends with the owner.
void WatchPrintHelper(QObject& owner, CPrintHelperLauncher& helper, std::function<void(int)> ended);

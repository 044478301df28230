#pragma once

#include <QString>

#include <functional>

class CCostingWindow;
class CDorneApp;
class CShellDialogs;

// What a costing window is made with: the application, the questions to the user, and
// whom to tell of each file it opened (the recent-file list).
struct CCostingWindowContext {
  CDorneApp* app = nullptr;
  CShellDialogs* dialogs = nullptr;
  std::function<void(const QString&)> opened;
};

using CCostingWindowMaker = std::function<CCostingWindow*(const CCostingWindowContext&)>;

// The windows of the linear and reference modes: the program registers their makers at
// start (RegisterCostingWindows), and the frame falls back on an empty window without
// one, as in the frame's own tests.
void RegisterLinearWindowMaker(CCostingWindowMaker maker);
const CCostingWindowMaker& LinearWindowMaker();
void RegisterReferenceWindowMaker(CCostingWindowMaker maker);
const CCostingWindowMaker& ReferenceWindowMaker();

// Registers the linear window and the reference window as the frame's windows of their
// modes.
void RegisterCostingWindows();

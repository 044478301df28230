#pragma once

#include <set>
#include <string>
#include <vector>

// Tells the user about a problem met while costing (a missing table, a formula that
// cannot be read, a reference name the tables do not know). The window side shows a
// translated message box; tests record the texts.
class CLinearNotifier {
 public:
  virtual ~CLinearNotifier() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

// Hands each distinct problem text to the notifier once, however many lines meet it.
class CLinearReport {
 public:
  explicit CLinearReport(CLinearNotifier* notifier = nullptr) : m_notifier(notifier) {}
  void Report(const std::string& text);
  const std::vector<std::string>& Messages() const { return m_messages; }

 private:
  CLinearNotifier* m_notifier;
  std::set<std::string> m_seen;
  std::vector<std::string> m_messages;
};

#pragma once

#include <QString>

#include <memory>
#include <vector>

class QTranslator;

// Qt's own texts (file dialogs and their messages, colour and font dialogs, page set-up,
// standard buttons) in the interface's language, from the toolkit's translations
// installed on the system. Installed into the application while this object lives.
class CQtTranslations {
 public:
  CQtTranslations();
  CQtTranslations(const CQtTranslations&) = delete;
  CQtTranslations& operator=(const CQtTranslations&) = delete;
  ~CQtTranslations();

  // Replaces the installed translations with those of the locale ("fr"); false when the
  // system has none for it (Qt's texts stay English). English needs none.
  bool Load(const QString& localeName);
  void Clear();

 private:
  std::vector<std::unique_ptr<QTranslator>> m_installed;
};

#include "app/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

CQtTranslations::CQtTranslations() = default;

CQtTranslations::~CQtTranslations() { Clear(); }

void CQtTranslations::Clear() {
  for (const std::unique_ptr<QTranslator>& translator : m_installed)
    QCoreApplication::removeTranslator(translator.get());
  m_installed.clear();
}

bool CQtTranslations::Load(const QString& localeName) {
  Clear();
  if (localeName.startsWith(QLatin1String("en"))) return true;  // Qt's own language
  if (localeName.isEmpty()) return false;
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  // "qt_<locale>" gathers the catalogues of Qt's modules (qtbase among them).
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qt_") + localeName, folder)) return false;
  QCoreApplication::installTranslator(translator.get());
  m_installed.push_back(std::move(translator));
  return true;
}

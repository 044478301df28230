#include "app/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <array>

#include "app/message_text.h"

namespace {

// Texts of Qt that its installed catalogues leave untranslated (the file dialog's kinds
// of entries moved to a context that the catalogues do not have yet), in the program's
// own language files. The catalogues still answer first for every text they hold.
struct CGapText {
  const char* context;
  const char* source;
  int message;
};
constexpr std::array<CGapText, 5> kGapTexts = {{
    {"QAbstractFileIconProvider", "Folder", 62403},
    {"QAbstractFileIconProvider", "File Folder", 62403},
    {"QAbstractFileIconProvider", "Drive", 62404},
    {"QAbstractFileIconProvider", "Shortcut", 62405},
    {"QAbstractFileIconProvider", "Unknown", 62406},
}};

class CGapTranslator : public QTranslator {
 public:
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                    int /*n*/) const override {
    if (context == nullptr || sourceText == nullptr) return {};
    for (const CGapText& gap : kGapTexts) {
      if (qstrcmp(context, gap.context) != 0 || qstrcmp(sourceText, gap.source) != 0) continue;
      return QString::fromStdString(LookupText(gap.message));  // empty: Qt's own text
    }
    return {};
  }
};

}  // namespace

CQtTranslations::CQtTranslations() = default;

CQtTranslations::~CQtTranslations() { Clear(); }

void CQtTranslations::Clear() {
  for (const std::unique_ptr<QTranslator>& translator : m_installed)
    QCoreApplication::removeTranslator(translator.get());
  m_installed.clear();
}

bool CQtTranslations::Load(const QString& localeName) {
  Clear();
  // Asked last: installed first.
  m_installed.push_back(std::make_unique<CGapTranslator>());
  QCoreApplication::installTranslator(m_installed.back().get());
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

#include "app/ui/translator.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QStringList>

namespace {

bool FamilyHas(const QString& family, QFontDatabase::WritingSystem system) {
  return QFontDatabase::writingSystems(family).contains(system);
}

}  // namespace

CTranslator& CTranslator::Instance() {
  static CTranslator instance;
  return instance;
}

void CTranslator::Reset() {
  m_charset = 1;
  m_active = false;
  m_font = QFont();
  m_boldFont = QFont();
}

std::optional<QFont> CTranslator::SetLanguageCharset(int charset, bool apply) {
  const QFontDatabase::WritingSystem system = WritingSystemOfCharset(charset);
  const QFont desktop = QGuiApplication::font();
  std::optional<QFont> chosen;
  bool desktopSuffices = false;
  if (system == QFontDatabase::Any || FamilyHas(QFontInfo(desktop).family(), system)) {
    chosen = desktop;
    desktopSuffices = true;
  } else {
    QStringList candidates{QStringLiteral("Liberation Sans")};
    candidates += QFontDatabase::families(system);
    for (const QString& family : candidates) {
      if (!FamilyHas(family, system)) continue;
      QFont font(desktop);
      font.setFamilies({family});
      chosen = font;
      break;
    }
  }
  if (apply) {
    m_charset = charset;
    m_active = chosen.has_value() && !desktopSuffices;
    m_font = m_active ? *chosen : QFont();
    m_boldFont = m_font;
    m_boldFont.setBold(true);
  }
  return chosen;
}

QFontDatabase::WritingSystem WritingSystemOfCharset(int charset) {
  switch (charset) {
    case 0:    // Western
    case 238:  // Central European
    case 162:  // Turkish
    case 186:  // Baltic
      return QFontDatabase::Latin;
    case 204: return QFontDatabase::Cyrillic;
    case 161: return QFontDatabase::Greek;
    case 177: return QFontDatabase::Hebrew;
    case 178: return QFontDatabase::Arabic;
    case 163: return QFontDatabase::Vietnamese;
    case 222: return QFontDatabase::Thai;
    case 129:
    case 130: return QFontDatabase::Korean;
    case 136: return QFontDatabase::TraditionalChinese;
    case 134: return QFontDatabase::SimplifiedChinese;
    case 128: return QFontDatabase::Japanese;
    default: return QFontDatabase::Any;
  }
}

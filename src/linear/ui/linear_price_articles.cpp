#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

#include "app/message_box_codes.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "app/user_article_import.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_price_dlg.h"

// The article view of the price settings panel: the local articles of the article
// table, six at a time, read-only; and the import that brings the table up to date.

namespace {

constexpr int kMsgCannotOpen = 61697;
constexpr int kMsgNothingImported = 61728;
constexpr int kMsgImported = 32227;

}  // namespace

bool CLinearPriceDlg::OnImportArticles() {
  const CLinearEnvironment& environment = m_parent.Environment();
  if (!environment.dialogs) return false;
  CUserArticleImport import;
  import.articleFolder = environment.folders.article;
  import.priceList = m_priceList;
  const int refs = environment.ReadInt("Ref", "Refs", 0);
  import.refs = refs == 1 || refs == 2 || refs == 11 ? refs : 0;
  import.designField = LocalDesignField(environment.ReadText("Database", "LANG_DESIGN", "1"));
  import.separators = environment.ReadText("Ref", "TxtSep", "");
  const QString chosen = environment.dialogs->ChooseFileToOpen(
      this, QString::fromStdString(environment.projectsFolder),
      {"ARTICLE.DBU|Article.dbu|*.TXT|*.txt|*.CSV|*.csv||", ""});
  if (chosen.isEmpty()) return false;
  const std::string path = chosen.toStdString();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool changed = false;
  int problem = 0;
  switch (UserArticleFileKind(path)) {
    case EUserArticleFile::kReplacementTable:
      changed = ReplaceUserArticleTable(import, path);
      break;
    case EUserArticleFile::kFixedWidth: changed = ImportFixedWidthArticles(import, path); break;
    case EUserArticleFile::kDelimited:
      changed = ImportUserArticles(import, path);
      if (!changed) problem = kMsgNothingImported;
      break;
    case EUserArticleFile::kUnreadable: problem = kMsgCannotOpen; break;
  }
  QApplication::restoreOverrideCursor();
  if (problem != 0)
    environment.dialogs->Message(this, StringQText(problem), kMbOk | kMbIconExclamation);
  if (!changed) return false;
  environment.dialogs->Message(this, StringQText(kMsgImported), kMbOk | kMbIconInformation);
  // The totals are recomputed when the panel closes; the names may have changed too.
  m_changed = true;
  m_parent.LoadPriceListNames(false);
  if (m_articleView) {
    const int field = LocalDesignField(environment.ReadText("Database", "LANG_DESIGN", "1"));
    if (auto articles = ReadLocalArticles(environment.folders.article, field))
      m_articles = std::move(*articles);
    FillArticleRows();
  }
  return true;
}

bool CLinearPriceDlg::LoadArticleView() {
  const CLinearEnvironment& environment = m_parent.Environment();
  if (environment.ReadInt("Database", "UseTC", 0) == 0) return false;
  const int field = LocalDesignField(environment.ReadText("Database", "LANG_DESIGN", "1"));
  std::optional<std::vector<CLocalArticle>> articles =
      ReadLocalArticles(environment.folders.article, field);
  if (!articles) return false;
  m_articles = std::move(*articles);
  m_articleView = true;
  for (int row = kRowQM; row < kRowCount; ++row) {
    const bool listed = row >= kFirstArticleRow && row < kFirstArticleRow + kArticleRows;
    m_labels[static_cast<std::size_t>(row)]->setVisible(listed);
    m_coef[static_cast<std::size_t>(row)]->setVisible(listed);
    m_coef[static_cast<std::size_t>(row)]->setReadOnly(true);
    m_discount[static_cast<std::size_t>(row)]->setVisible(listed);
    m_discount[static_cast<std::size_t>(row)]->setReadOnly(true);
    m_discount[static_cast<std::size_t>(row)]->clear();
    m_percent[static_cast<std::size_t>(row)]->hide();
  }
  m_discount[kRowList]->hide();
  m_percent[kRowList]->hide();
  m_rangeHeader->show();
  for (QLabel* description : m_descriptions) description->show();
  const int count = static_cast<int>(m_articles.size());
  m_articleScroll = new QScrollBar(Qt::Vertical);
  m_articleScroll->setObjectName(QStringLiteral("linear_article_scroll"));
  m_articleScroll->setRange(0, std::max(0, count - kArticleRows));
  m_articleScroll->setPageStep(kArticleRows);
  m_articleScroll->setEnabled(count > kArticleRows);
  if (auto* grid = qobject_cast<QGridLayout*>(layout()))
    grid->addWidget(m_articleScroll, kFirstArticleRow + 2, 5, kArticleRows, 1);
  connect(m_articleScroll, &QScrollBar::valueChanged, this, [this](int first) {
    if (first == m_firstArticle) return;
    m_firstArticle = first;
    FillArticleRows();
  });
  m_firstArticle = 0;
  FillArticleRows();
  return true;
}

void CLinearPriceDlg::FillArticleRows() {
  for (int i = 0; i < kArticleRows; ++i) {
    const std::size_t row = static_cast<std::size_t>(kFirstArticleRow + i);
    const std::size_t index = static_cast<std::size_t>(m_firstArticle + i);
    const bool filled = index < m_articles.size();
    const CLocalArticle* article = filled ? &m_articles[index] : nullptr;
    m_descriptions[static_cast<std::size_t>(i)]->setText(
        filled ? QString::fromStdString(article->designation) : QString());
    m_labels[row]->setText(filled ? QString::fromStdString(article->reference) : QString());
    m_coef[row]->setText(filled ? NumberText(article->value, m_decimal) : QString());
  }
}

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

#include "app/message_box_codes.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/user_article_import_ui.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_price_dlg.h"

// The article view of the price settings panel: the local articles of the article
// table, six at a time, read-only; and the import that brings the table up to date.

bool CLinearPriceDlg::OnImportArticles() {
  const CLinearEnvironment& environment = m_parent.Environment();
  const int refs = environment.ReadInt("Ref", "Refs", 0);
  if (!ImportUserArticlesFromFile(this, environment, m_priceList,
                                  refs == 1 || refs == 2 || refs == 11 ? refs : 0))
    return false;
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

#include "linear/ui/user_article_import_ui.h"

#include <QApplication>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/local_articles.h"
#include "linear/ui/linear_environment.h"

namespace {

constexpr int kMsgRefusedTitle = 33041;
constexpr int kMsgNotText = 33048;
constexpr std::size_t kMostListed = 20;

int RefusalMessage(EArticleRefusal why) {
  switch (why) {
    case EArticleRefusal::kNoReference: return 33042;
    case EArticleRefusal::kBadPrice: return 33043;
    case EArticleRefusal::kPriceTooLarge: return 33044;
    case EArticleRefusal::kBadQuantity: return 33045;
    case EArticleRefusal::kBadWidth: return 33046;
    case EArticleRefusal::kNotWritten: return 33047;
    case EArticleRefusal::kNotText: return kMsgNotText;
    case EArticleRefusal::kUnknownReference: return 33050;
    case EArticleRefusal::kNotInCodePage: return 33051;
  }
  return kMsgNotText;
}

}  // namespace

std::string RefusedLinesText(const CRefusedArticleLines& refused) {
  std::string text = StringText(kMsgRefusedTitle);
  for (std::size_t i = 0; i < refused.size() && i < kMostListed; ++i) {
    const CRefusedArticleLine& line = refused[i];
    text += "\n" + (line.line == 0
                        ? StringText(RefusalMessage(line.why))
                        : FormatMessageTextS(RefusalMessage(line.why), std::to_string(line.line)));
  }
  if (refused.size() > kMostListed) text += "\n...";
  return text;
}

bool ImportUserArticlesFromFile(QWidget* parent, const CLinearEnvironment& environment,
                                int priceList, int refs) {
  if (!environment.dialogs) return false;
  CUserArticleImport import;
  import.articleFolder = environment.folders.article;
  import.priceList = priceList;
  import.refs = refs;
  import.designField = LocalDesignField(environment.ReadText("Database", "LANG_DESIGN", "1"));
  import.separators = environment.ReadText("Ref", "TxtSep", "");
  const QString chosen = environment.dialogs->ChooseFileToOpen(
      parent, QString::fromStdString(environment.projectsFolder),
      {"ARTICLE.DBU|Article.dbu|*.TXT|*.txt|*.CSV|*.csv||", ""});
  if (chosen.isEmpty()) return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const CUserArticleImportOutcome outcome = RunUserArticleImport(import, chosen.toStdString());
  QApplication::restoreOverrideCursor();
  if (!outcome.refused.empty())
    environment.dialogs->Message(parent, QString::fromStdString(RefusedLinesText(outcome.refused)),
                                 kMbOk | kMbIconExclamation);
  if (!outcome.indexError.empty())
    environment.dialogs->Message(parent, QString::fromStdString(outcome.indexError),
                                 kMbOk | kMbIconError);
  if (outcome.message != 0)
    environment.dialogs->Message(
        parent, StringQText(outcome.message),
        kMbOk | (outcome.changed ? kMbIconInformation : kMbIconExclamation));
  return outcome.changed;
}

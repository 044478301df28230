#pragma once

#include <string>

#include "app/user_article_import.h"

struct CLinearEnvironment;
class QWidget;

// The import of a user's article file as both price panels start it: the file chosen in
// the projects folder, the import run under the wait cursor, then one message for the
// outcome and, when some lines were refused, one listing them. True when the article
// table changed.
bool ImportUserArticlesFromFile(QWidget* parent, const CLinearEnvironment& environment,
                                int priceList, int refs);

// The lines of the refusal message: its title, then a line per refused line.
std::string RefusedLinesText(const CRefusedArticleLines& refused);

#pragma once

#include <map>
#include <string>

// References that a costing mode made, each with what first made it.
using CMadeReferences = std::map<std::string, std::string>;

// What the sample article table lacks for these references, one line each: a reference
// with no article, or whose article has no price, labour time, weight, French or English
// designation. Empty when every reference has a full article.
std::string ArticleShortfalls(const CMadeReferences& references);

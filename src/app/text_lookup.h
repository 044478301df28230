#pragma once

#include <functional>
#include <string>

// The text of a message number (or string resource number) in the current language;
// empty when the number has no text. The catalogue lists take one so that they need
// not know where the texts come from.
using TextLookup = std::function<std::string(int number)>;

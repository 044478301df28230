#pragma once

#include <string>

// The caption message of a page identifier (page_kinds.h, range_pages.h), the text of
// its tab; 0 for an identifier that names no page.
int PageCaptionMessage(int page);

// The tooltip of a page's button: the message's text, followed by " : " and the reason
// the button is disabled when one is given (0 for none), at most 75 characters.
std::string ButtonTip(int message, int reason);

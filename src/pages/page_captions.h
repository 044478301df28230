#pragma once

// The caption message of a page identifier (page_kinds.h, range_pages.h), the text of
// its tab; 0 for an identifier that names no page.
int PageCaptionMessage(int page);

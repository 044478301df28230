#pragma once

#include <string>
#include <string_view>

// A text as a DXF value: one line of CP1252 bytes. A control character (which would end
// the line and break the file's group pairs) becomes a blank; a character CP1252 has no
// room for is written "\U+XXXX" (a character beyond U+FFFF as its two UTF-16 halves);
// a backslash that would read as such an escape is itself escaped; bytes that are not
// UTF-8 become '?'.
std::string DxfTextValue(std::string_view text);

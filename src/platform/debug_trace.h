#pragma once

#include <string_view>

// Sends a line to the debugging output (standard error), for developers only: nothing
// the user needs to see goes through it. The caller composes the text.
void DebugTrace(std::string_view message);

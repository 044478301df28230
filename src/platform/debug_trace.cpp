#include "platform/debug_trace.h"

#include <iostream>

void DebugTrace(std::string_view message) { std::clog << message << '\n'; }

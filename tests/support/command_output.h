#pragma once

#include <string>

// What a shell command writes to its standard output (its errors too when the command
// says "2>&1"); empty when it cannot be run.
std::string CommandOutput(const std::string& command);

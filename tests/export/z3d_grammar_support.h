#pragma once

#include <string>
#include <vector>

// An independent reader of the 3D exchange file: checks the bytes against the format
// (CR LF lines, header keys in order, position tokens, device codes and typed parameters,
// the device counts) and lists what it finds wrong. Empty means the file is accepted.
std::vector<std::string> CheckZ3dGrammar(const std::string& bytes);

// The device lines of the file (without "dev:"), in order, for checking their values.
std::vector<std::string> Z3dDeviceLines(const std::string& bytes);

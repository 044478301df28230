#pragma once

#include <QString>

// Why a file named to be opened cannot be read, as the message the user sees; empty
// when it can be read. Missing files, folders and unreadable files are told apart.
QString UnreadableFileMessage(const QString& path);

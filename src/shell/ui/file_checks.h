#pragma once

#include <QString>

#include "app/frame_rules.h"

class CRunDocuments;

// Why a file named to be opened cannot be read, as the message the user sees; empty
// when it can be read. Missing files, folders and unreadable files are told apart.
QString UnreadableFileMessage(const QString& path);

// Why the file cannot be opened as a linear or reference project: the message naming
// the file and the reason (missing, unreadable, not a project of that kind or damaged);
// empty when it reads as one. The file is read whole and nothing is kept, so that the
// caller can refuse it before it closes any open work. A layout kind is only checked
// for being readable.
QString ProjectFileProblem(const QString& path, EFileKind kind);

// The check of every file the main frame opens: a layout file read as the documents
// read it, a project as ProjectFileProblem reads it.
QString OpenFileProblem(const CRunDocuments& documents, const QString& path, EFileKind kind);

#pragma once

#include <QString>

#include "app/frame_rules.h"

class CSaveableDocument;
class CShellDialogs;
class QWidget;

// How one document is offered for saving: its title in the question, the folder and
// file kinds of the Save As dialog for a document that has no file yet.
struct CSaveOffer {
  QString title;
  QString folder;
  COpenFileFilter filter;
};

// Writes the document to its file, through the Save As dialog when it has none. True
// when it was written; false when the user cancelled the dialog or the save failed
// (the user was told why; the document keeps its work and its modified mark).
bool SaveDocument(CSaveableDocument& document, const CSaveOffer& offer, CShellDialogs& dialogs,
                  QWidget* parent);

// The question before a document closes: true when it may close (nothing unsaved, the
// user answered No, or Yes and the save succeeded); false on Cancel or a failed save.
bool SaveModifiedDocument(CSaveableDocument& document, const CSaveOffer& offer,
                          CShellDialogs& dialogs, QWidget* parent);

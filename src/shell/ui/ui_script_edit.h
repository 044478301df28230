#pragma once

#include <QStringList>

class CLayoutDocWindow;

// The script lines that look at what an edit of the layout left, as the user sees it:
//   bomkind K 0|1          the current run's bill of materials shows a column of kind K
//                          (1) or none (0); the line fails otherwise
//   boxcolor E SLOT RGB    box SLOT of element E of the current run is drawn in the colour
//                          RGB (six hexadecimal digits); the line fails otherwise
//   cursor X Y Z           the insertion point of the next element is at (X, Y, Z)
//   runnames NAMES         the document's runs are named so, in order, joined by ","
//   sceneruns NAMES        the runs with boxes in the layout's scene are these, named in
//                          order and joined by ","; the line fails otherwise
// False when the line is not one of these or does not hold; `handled` tells which.
bool RunEditLine(CLayoutDocWindow& layout, const QStringList& words, bool& handled);

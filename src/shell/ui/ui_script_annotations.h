#pragma once

#include <QStringList>

class CLayoutDocWindow;

// The script lines about annotations, as a user's mouse and the exports would do them:
//   annotation drag <kind> <dx> <dy>   press on the last drawn annotation of the kind, move
//                                      by (dx, dy) pixels, release
//   annotation double <kind>           a double click on it
//   annotation right <kind>            a right click on it
//   annotations <kind> <count>         the document holds that many of the kind
//   annotationplaces <kind> <file>     the view drawn, then each annotation of the kind
//                                      written to the file, "drawn"/"hidden" and its
//                                      logical rectangle, a line each in list order
//   dimclick <element> <slot>          the mouse over a box of the current run, then a
//                                      click there (the dimension tool's picks)
//   zoomend <end> <margin>             the view on the boxes of an end element of the
//                                      current run (in chain order, -1 the last), with a
//                                      margin (scene units) round them
//   dxf <file>                         the view written as a DXF file
//   print <file.pdf>                   the view printed into a PDF file
// False when the line is not one of these or could not be done; `handled` tells which.
bool RunAnnotationLine(CLayoutDocWindow& layout, const QStringList& words, bool& handled);

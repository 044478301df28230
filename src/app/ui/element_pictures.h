#pragma once

#include <QImage>

#include <string>

class CDorneApp;
class CImage;

// The element images the property pages and the feed-source symbol show by name
// (CDorneApp::FindImage): drawn by the program itself, one small picture per name.
constexpr int kElementPictureSize = 64;

// The picture of a name of CDorneApp::ElementImageNames, or the bars picture "BARS_QG"
// of the shape dimension pages; a blank frame for any other.
QImage DrawElementPicture(const std::string& name);
// The picture as an element image of that name (32-bit pixels, rows top to bottom).
CImage ToElementImage(const std::string& name, const QImage& picture);
// An element image back as a picture; a null image for an empty one or another layout.
QImage ElementImageToPicture(const CImage& image);
// Start-up: the application's images of these names are the pictures, each drawn when it is
// first asked for.
void LoadElementImages(CDorneApp& app);

#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <functional>

// The pictures of the program, drawn by code: the splash window, the banner of the
// information dialog, the status-bar picture and the pictures of the three ways of
// working in the start-mode dialog.

constexpr int kSplashWidth = 446;
constexpr int kSplashHeight = 345;

QPixmap SplashPicture(const QString& applicationName);
QPixmap InfoPicture(const QString& applicationName);
// 43 by 18 pixels.
QPixmap StatusBarPicture();
// 10 linear costing, 20 costing by reference, 30 graphical design; 64 by 64 pixels.
QPixmap StartModePicture(int startMode);

// The program's icon (the windows' icon).
QIcon ProgramIcon();

// A picture file when it can be read, else the one drawn then (drawing a picture takes
// longer than reading the file, so it is not drawn beforehand).
QPixmap PictureFileOr(const QString& path, const std::function<QPixmap()>& draw);

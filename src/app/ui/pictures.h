#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

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

// A picture file when it can be read, else the drawn one.
QPixmap PictureFileOr(const QString& path, const QPixmap& drawn);

#pragma once

#include <QString>

#include "app/message_box_codes.h"

class CProfile;
class QWidget;

// Message boxes in the program's language, all shown by CMessageDlg. Each returns the
// answer (kIdOk, kIdCancel, kIdYes, kIdNo); type takes the kMb... flags. Without a
// parent the box belongs to the active window.

// The application's title, the caption of the program's message boxes.
QString ApplicationTitle();

// Shows the text and caption with those buttons and icon; runs until answered.
int RunMessageDlg(const QString& text, const QString& caption, unsigned type,
                  QWidget* parent = nullptr);

// The string text of the message number (StringText) under the application's title.
int MessageBoxById(int messageNumber, unsigned type = kMbOk, QWidget* parent = nullptr);

// A text already made, under the application's title.
int TranslatedMessageBox(const QString& text, unsigned type = kMbOk, QWidget* parent = nullptr);

// Tells that the settings file could not be written. Nothing is shown for a profile
// without a settings folder: start-up has said once that settings will not be saved.
void SettingsNotSavedMessage(const CProfile& profile, QWidget* parent = nullptr);
// A text with a caption of the window's choosing, above that window.
int WindowMessageBox(QWidget* window, const QString& text, const QString& caption,
                     unsigned type = kMbOk);

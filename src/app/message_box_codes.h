#pragma once

// The type flags of a message box and the answers it gives, with the values the settings
// and callers have always used.

// Buttons (low four bits of the type).
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr unsigned kMbYesNoCancel = 0x3;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbButtonMask = 0xF;

// Icons (bits 4..7).
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbIconInformation = 0x40;
constexpr unsigned kMbIconMask = 0xF0;

// The second button is the default one.
constexpr unsigned kMbDefButton2 = 0x100;

// Answers.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

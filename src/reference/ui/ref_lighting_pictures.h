#pragma once

#include <QPixmap>
#include <QSize>

#include <cstdint>

// The pictures beside the lighting study's steps, drawn by the program: the room with
// its dimensions, the luminaire below the ceiling, the room in section with luminaires
// hung or set against the ceiling, and the plan of the runs along the length or across
// the width.
inline constexpr int kLightingPictureRoom = 326;
inline constexpr int kLightingPictureLuminaire = 31043;
inline constexpr int kLightingPictureSuspended = 31044;
inline constexpr int kLightingPictureAlongLength = 31045;
inline constexpr int kLightingPictureAcrossWidth = 31046;
inline constexpr int kLightingPictureCeiling = 31048;

// The picture of a step (1 to 4); the section shows hung luminaires when the suspension
// height is not 0.
int LightingStepPicture(int step, std::int32_t suspension);
int LightingOrientationPicture(bool acrossWidth);

// The picture drawn at that size; a null pixmap for a number that has none.
QPixmap DrawLightingPicture(int picture, QSize size);

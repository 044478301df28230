#pragma once

#include <optional>
#include <string>

#include "grid/bitmap_desc.h"

// The icons of "<ICO" cells, drawn 32 by 32 pixels; none for a number the program has no
// icon for (the cell then stays empty).
const CBitmapDesc* AnnotationIcon(int number);

// The logo the title block shows above its lines: the picture file of the program
// folder; none when it is missing or not a bitmap the pictures accept.
inline constexpr const char* kTitleBlockLogoFile = "Tavrilon.bmp";
std::optional<CBitmapDesc> TitleBlockLogo(const std::string& programFolder);

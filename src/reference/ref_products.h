#pragma once

#include <string_view>

// The products of costing by reference, by kind 0..8. Qpc and Qpa are the variants of
// QPC and QPA for the APOD installations.
inline constexpr int kRefProductCount = 9;
inline constexpr int kRefProductQFP = 0;
inline constexpr int kRefProductQDA = 3;
inline constexpr int kRefProductQYX = 6;

// "QFP", "QYA", "QYB", "QDA", "QPA", "Qpc", "QYX", "Qpa", "QPC"; empty outside 0..8.
std::string_view RefProductCode(int kind);

// The range letter of a product: the second letter of its code ('\0' outside 0..8).
char RefRangeLetter(int kind);

// The conductor pattern of a conductor code as LIN_REF's POL lists it: "2+0", "3LNPE"
// ("4+0" in group 3), "2+2", "4+2", "4+4"; empty for other codes.
std::string_view RefConductorPattern(int conductors, int group);

// Whether component value c of a line of that product is a count of items (which the
// catalogue must price) rather than a choice or a flag: the variant flags (42), the
// straight choice flag of QPA, Qpa and QPC (8), the cable range of QFP (13), the
// length decimals of QYX (36) and "without fixing" of the lighting ranges (44) are not.
bool IsRefCountedComponent(int kind, int c);

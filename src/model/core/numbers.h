#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Text to number everywhere in the program: leading blanks dropped, the first "," read as a
// decimal point, and anything that is not wholly a number (empty, trailing blank, unit letters,
// out of range) reads as 0.
float ParseDecimal(std::string_view text);

// The same grammar, telling a number from an unreadable text (0 and "x" both give 0 above).
bool TryParseDecimal(std::string_view text, float& value);

// Leading blanks dropped and the first "." shown as "," (numbers shown with a decimal comma).
std::string FormatDecimal(std::string_view text);

// Fixed-point with a point, right-aligned to width with blanks (width 0: no blanks).
std::string FormatFixed(double value, int width, int decimals);

// Quarter-hour of the day 0..95 of a typed time of day, 96 when there is none.
inline constexpr int kNoTimeSlot = 96;
int ParseTimeSlot(std::string_view text);

// The number written to a file: the shortest text that reads back as the same float.
std::string FloatText(float value);

}  // namespace velmora

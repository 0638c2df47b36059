#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// A short string of capacity n keeps at most n characters (code points), never half of one.
std::string CutToCapacity(std::string_view utf8, std::size_t capacity);
void AssignShort(std::string& target, std::string_view utf8, std::size_t capacity);

std::size_t CharacterCount(std::string_view utf8);

// Upper case over ASCII and the whole Latin-1 / Windows-1252 letter range (å ä ö æ ø é ü ...),
// independent of the process locale; other characters pass unchanged.
std::string UpperCase(std::string_view utf8);

// Name order: case folded, the national letters after Z as Swedish sorts them (Å, Ä, Ö); texts
// equal under folding are ordered by their bytes, so only identical texts compare equal.
int CompareNameTexts(std::string_view a, std::string_view b);

bool ContainsText(std::string_view haystack, std::string_view needle);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Text between the first "{" and the first "}" (a food-list key text's code); empty without braces.
std::string TextBetweenBraces(std::string_view text);

}  // namespace velmora

#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/nutrients.h"
#include "core/result.h"

namespace velmora {

inline constexpr std::string_view kNutrientNamesError = "Fel i namnfilen nvnamn.txt";

// One line of the nutrient names file, already mapped from the DOS code page and decoded:
// two characters with the slot, a separator, "name unit,decimals". Comment lines start with "*".
Status ReadNutrientNameLine(std::string_view line, NutrientText& text);
// The whole file; a missing file or a faulty line is the one error the program cannot start with.
Status ReadNutrientNames(const std::filesystem::path& path, NutrientText& text);
Status ReadNutrientNameLines(const std::vector<std::string>& lines, NutrientText& text);

}  // namespace velmora

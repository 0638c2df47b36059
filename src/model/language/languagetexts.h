#pragma once

#include <array>
#include <string>

namespace velmora {

// The language-dependent texts the model shows; start values are Swedish and the language switch
// replaces them.
struct LanguageTexts {
    std::array<std::string, 9> mealNames{"Frukost",    "Lunch",      "Middag",     "Mellanmål1", "Mellanmål2",
                                         "Mellanmål3", "Mellanmål4", "Mellanmål5", "Mellanmål6"};
    std::string shortBreakfastName = "Frukost";
    std::string wholeDay = "Hela dagen";
    std::string saveBeforeNew = "Vill du spara denna beräkning innan en ny startas?";
    std::string foodGroupHeading = " Livsmedelsgrupper";
};

}  // namespace velmora

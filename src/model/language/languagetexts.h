#pragma once

#include <array>
#include <string>

namespace velmora {

// LanguageCode: 1 svenska, 2 engelska, 3 danska, 4 norska.
inline constexpr int kLanguageDanish = 3;

// The language-dependent texts the model shows; start values are Swedish and the language switch
// replaces them.
struct LanguageTexts {
    int languageCode = 1;
    std::array<std::string, 9> mealNames{"Frukost",    "Lunch",      "Middag",     "Mellanmål1", "Mellanmål2",
                                         "Mellanmål3", "Mellanmål4", "Mellanmål5", "Mellanmål6"};
    std::string shortBreakfastName = "Frukost";
    std::string wholeDay = "Hela dagen";
    std::string saveBeforeNew = "Vill du spara denna beräkning innan en ny startas?";
    std::string foodGroupHeading = " Livsmedelsgrupper";
    std::string showExpiredQuestion = "Visa också artiklar som UTGÅTT";
    // Energy pies of the result display.
    std::string pieProtein = "Prot";
    std::string pieFat = "Fett";
    std::string pieCarbohydrate = "Kolh";
    std::string pieAlcohol = "Alko";
    std::string pieAlcoholMax = "Alko max";
    std::string actualPieTitle = "Energifördelning VERKLIG";
    std::string idealPieTitle = "Energifördelning IDEAL";
};

}  // namespace velmora

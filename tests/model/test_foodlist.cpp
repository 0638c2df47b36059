#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/workspace_ops.h"
#include "fixture.h"
#include "mainwindow/foodlist.h"
#include "mainwindow/startfiles.h"
#include "scriptedprompts.h"

namespace velmora {
namespace {

using testing::FixtureData;
using testing::ReadFile;
using testing::ScriptedPrompts;

const std::string kManufacturers = "           --- FABRIKANTER (+ = wwwinfo) ---";
const std::string kOwn = "                         --- EGNA VÄRDEN ---";
const std::string kDabasOff = "                         --- DABAS EJ AKTIVERAD ---";
const std::string kDabasOn = "                         --- DABAS ---";
const std::string kOwnRecipes = "                         --- RECEPT EGNA ---";
const std::string kGeneralRecipes = "                         --- RECEPT ALLMÄNNA ---";

constexpr const char* kHeader = "Kod\tLivsmedel\tPortionsstorlek\tEnhet\tGrupp1\n";

std::vector<std::string> Displays(const ProgramState& state)
{
    std::vector<std::string> out;
    for (const FoodListEntry& e : state.picker.shown) out.push_back(e.display);
    return out;
}

// The names of the shown list without the separator rows.
std::vector<std::string> Foods(const ProgramState& state)
{
    std::vector<std::string> out;
    for (const FoodListEntry& e : state.picker.shown) {
        if (IsFoodEntry(e)) out.push_back(e.display);
    }
    return out;
}

class FoodListTest : public ::testing::Test {
protected:
    void Start()
    {
        state = data.Start();
        state->picker.swedish = true;
    }

    FixtureData data;
    std::unique_ptr<ProgramState> state;
    ScriptedPrompts prompts;
};

TEST_F(FoodListTest, PrefixMatchesComeBeforeContainsMatchesSourceBySource)
{
    data.Table("nalvex100", std::string(kHeader) +
                                "77\tChokladmjölk\t103\tdl\tMejeri\n"
                                "63\tFilmjölk fett 3%\t100\tdl\tMejeri\n"
                                "59\tMjölk fett 3%\t103\tdl\tMejeri\n"
                                "377\tMjölkchoklad\t5\tbit\tGodis\n"
                                "1\tBanan\t120\tst\tFrukt\n");
    data.Table("fabrikant", std::string(kHeader) + "F1\tHavredryck mjölkfri\t250\tglas\t\nF2\tMjölkpulver\t10\tmsk\t\n");
    data.Table("egna", std::string(kHeader) + "E1\tMin mjölkdrink\t200\tglas\t\n");
    Start();

    EXPECT_EQ(FillFoodList(*state, "mjölk"), 7);
    const std::vector<std::string> expected{
        "Mjölk fett 3%", "Mjölkchoklad", "Chokladmjölk", "Filmjölk fett 3%",
        kManufacturers,  "Mjölkpulver",  "Havredryck mjölkfri",
        kOwn,            "Min mjölkdrink",
        kDabasOff,       kOwnRecipes,    kGeneralRecipes,
    };
    EXPECT_EQ(Displays(*state), expected);

    const auto& shown = state->picker.shown;
    EXPECT_EQ(shown[0].key, "Mjölk fett 3%{59}103@dl");
    EXPECT_EQ(shown[4].key, " --- FABRIKANTER ---");
    EXPECT_EQ(shown[7].key, " --- EGNA VÄRDEN ---");
    EXPECT_EQ(shown[9].key, "         --- DABAS EJ AKTIVERAD ---");
    EXPECT_EQ(shown[10].key, " --- RECEPT EGNA---");
    EXPECT_EQ(shown[11].key, " --- RECEPT ALLMÄNNA---");
    EXPECT_EQ(state->picker.listMode, ListMode::Namn);

    // The upper-case search text finds the same; nothing found ends with the no-match row only.
    EXPECT_EQ(FillFoodList(*state, "MJÖLK"), 7);
    EXPECT_EQ(FillFoodList(*state, "gurka"), 0);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().display, "Ingen träff på  GURKA");
    EXPECT_EQ(shown.back().key, "");
    EXPECT_EQ(shown.size(), 6u);  // five separators and the no-match row
    EXPECT_EQ(FillFoodList(*state, ""), 0);
}

TEST_F(FoodListTest, TwoWordsMatchTheWholeTextAsPrefixAndBothWordsAnywhere)
{
    data.Table("nalvex100", std::string(kHeader) +
                                "1\tFilé av kyckling\t100\tg\t\n"
                                "2\tKyckling filé stekt\t100\tg\t\n"
                                "3\tKycklingfilé rå\t100\tg\t\n"
                                "4\tKycklinglever\t100\tg\t\n"
                                "5\tFilmjölk\t100\tdl\t\n");
    Start();
    EXPECT_EQ(FillFoodList(*state, "kyckling fil"), 3);
    EXPECT_EQ(Foods(*state), (std::vector<std::string>{"Kyckling filé stekt", "Filé av kyckling", "Kycklingfilé rå"}));
}

TEST_F(FoodListTest, OriginBoxesDecideWhichNationalFoodsAreListed)
{
    data.Table("nalvex100", std::string(kHeader) +
                                "1\tLax\t100\tg\tFisk\n"
                                "2\tLax/DK\t100\tg\tFisk\n"
                                "3\tLax/NO\t100\tg\tFisk/No\n"
                                "4\tLax/NO/DK\t100\tg\tFisk/No\n");
    data.Table("fabrikant", std::string(kHeader) + "F1\tLax/NO gravad\t100\tg\t\n");
    Start();
    struct Case {
        bool swedish, norwegian, danish;
        std::vector<std::string> foods;
    };
    const std::vector<Case> cases{
        {true, false, false, {"Lax", "Lax/NO gravad"}},
        {false, true, false, {"Lax/NO", "Lax/NO gravad"}},
        {false, false, true, {"Lax/DK", "Lax/NO gravad"}},
        {false, true, true, {"Lax/DK", "Lax/NO", "Lax/NO/DK", "Lax/NO gravad"}},
        {false, false, false, {"Lax/NO gravad"}},
    };
    for (const Case& c : cases) {
        state->picker.swedish = c.swedish;
        state->picker.norwegian = c.norwegian;
        state->picker.danish = c.danish;
        FillFoodList(*state, "lax");
        EXPECT_EQ(Foods(*state), c.foods) << c.swedish << c.norwegian << c.danish;
        // The contains pass filters the same way.
        FillFoodList(*state, "ax");
        EXPECT_EQ(Foods(*state), c.foods) << "contains " << c.swedish << c.norwegian << c.danish;
    }

    // The group box follows the Swedish and Norwegian boxes, case-sensitively on "/No".
    state->picker.swedish = true;
    state->picker.norwegian = false;
    FilterOriginGroups(*state);
    EXPECT_EQ(state->picker.groups, (std::vector<std::string>{" Livsmedelsgrupper", "Bröd", "Fisk"}));
    state->picker.swedish = false;
    state->picker.norwegian = true;
    FilterOriginGroups(*state);
    EXPECT_EQ(state->picker.groups, (std::vector<std::string>{" Livsmedelsgrupper", "Fisk/No"}));
}

TEST_F(FoodListTest, ExpiredAndPlaceholderRowsFollowTheirSourcesRules)
{
    data.Table("nalvex100", std::string(kHeader) + "1\tOst UTGÅTT\t10\tg\t\n2\tRESERV\t0\tg\t\n");
    data.Table("fabrikant", std::string(kHeader) + "F1\tOstbåge utgått\t10\tg\t\nF2\tRESERV\t0\tg\t\n");
    data.Table("egna", std::string(kHeader) + "E1\tRESERV\t0\tg\t\nE2\tEgen ost UTGÅTT\t10\tg\t\n");
    Start();
    struct Case {
        const char* text;
        bool showExpired;
        std::vector<std::string> foods;
    };
    const std::vector<Case> cases{
        // A placeholder is kept out of the prefix pass only, so a part of its name finds it.
        {"res", false, {}},
        {"serv", false, {"RESERV", "RESERV", "RESERV"}},
        // Own foods are never filtered for expiry.
        {"ost", false, {"Egen ost UTGÅTT"}},
        {"ost", true, {"Ost UTGÅTT", "Ostbåge utgått", "Egen ost UTGÅTT"}},
    };
    for (const Case& c : cases) {
        state->picker.ShowExpired = c.showExpired;
        FillFoodList(*state, c.text);
        EXPECT_EQ(Foods(*state), c.foods) << c.text << " " << c.showExpired;
    }
}

TEST_F(FoodListTest, ProductDatabaseIsListedOnlyWhileSwitchedOnAndLoadsOnce)
{
    data.Table("dabas", std::string(kHeader) +
                            "dab7350012340018\tKycklingkorv grill\t70\tst\tSörmlandsgården AB\n"
                            "dab7311230000016\tFiskgratäng dill\t400\tport\tKustbryggan Fisk AB\n"
                            "dab7350012340025\tKöttbullar frysta\t15\tst\tSörmlandsgården AB\n");
    Start();
    state->picker.LastSearchText = "korv";

    FillFoodList(*state, "korv");
    EXPECT_EQ(Displays(*state), (std::vector<std::string>{kManufacturers, kOwn, kDabasOff, kOwnRecipes,
                                                          kGeneralRecipes, "Ingen träff på  KORV"}));

    // Switching on before the index is loaded: the warning, an empty section, and a load to do.
    EXPECT_TRUE(SwitchDabas(*state, prompts, true));
    EXPECT_EQ(prompts.messages.back(),
              "OBS! Dabas-produkter är ofta ofullständigt deklarerade och produkter kan utgå i kommande uppdateringar");
    EXPECT_TRUE(Foods(*state).empty());
    EXPECT_EQ(Displays(*state)[2], kDabasOn);

    int reported = 0;
    LoadDabasIndex(*state, [&](int n) { reported = n; });
    EXPECT_EQ(reported, 3);
    EXPECT_EQ(state->picker.dabas.Count(), 3u);
    // Companies in the order of their first product by name, each once, after the prompt item.
    EXPECT_EQ(state->picker.dabasCompanies,
              (std::vector<std::string>{"  Select company", "Kustbryggan Fisk AB", "Sörmlandsgården AB"}));
    LoadDabasIndex(*state);
    EXPECT_EQ(state->picker.dabasCompanies.size(), 3u);

    EXPECT_FALSE(SwitchDabas(*state, prompts, true));
    EXPECT_EQ(Foods(*state), (std::vector<std::string>{"Kycklingkorv grill"}));
    EXPECT_EQ(state->picker.shown[3].key, "Kycklingkorv grill{dab7350012340018}70@st");

    EXPECT_EQ(SearchDabasCompany(*state, 2), 2);
    EXPECT_EQ(Foods(*state), (std::vector<std::string>{"Kycklingkorv grill", "Köttbullar frysta"}));
    EXPECT_EQ(SearchDabasCompany(*state, 0), std::nullopt);

    SwitchDabas(*state, prompts, false);
    EXPECT_TRUE(Foods(*state).empty());
}

TEST_F(FoodListTest, GroupBoxListsEachGroupOnceAndFiltersTheNationalTable)
{
    data.Table("nalvex100", std::string(kHeader) +
                                "1\tLax\t100\tg\tFisk\n"
                                "2\tLättöl\t330\tflaska\tÖl\n"
                                "3\tMakrill rökt\t100\tg\tRökt fisk\n"
                                "4\tPilsner\t330\tflaska\tMellanöl\n"
                                "5\tSill\t100\tg\tFisk\n"
                                "6\tStrömming\t100\tg\t\n");
    Start();
    FilterOriginGroups(*state);
    const std::vector<std::string> groups{" Livsmedelsgrupper", "Bröd", "Fisk", "Mellanöl", "Rökt fisk", "Öl"};
    ASSERT_EQ(state->picker.groups, groups);

    struct Case {
        int index;
        std::vector<std::string> foods;
    };
    const std::vector<Case> cases{
        {2, {"Lax", "Makrill rökt", "Sill"}},  // contains
        {5, {"Lättöl"}},                       // shorter than three letters: equal only
        {1, {}},
        {0, {}},                               // the heading
    };
    for (const Case& c : cases) {
        FillFoodList(*state, "lax");
        FilterFoodGroup(*state, c.index);
        EXPECT_EQ(Displays(*state), c.foods) << groups[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(state->picker.groupIndex, c.index);
    }
}

TEST_F(FoodListTest, MealKindListsKeepFortyEntriesEach)
{
    Start();
    auto entry = [](int n) {
        std::string name = "Mat " + std::string(n < 10 ? "0" : "") + std::to_string(n);
        return FoodListEntry{name, name + "{" + std::to_string(n) + "}100@g"};
    };
    for (int n = 1; n <= 40; ++n) RememberChosenFood(state->picker, 0, entry(n));
    RememberChosenFood(state->picker, 5, entry(99));
    RememberChosenFood(state->picker, 0, entry(41));

    const auto& breakfast = state->picker.mealKindFoods[0];
    ASSERT_EQ(breakfast.size(), 40u);
    EXPECT_EQ(breakfast.front().display, "Mat 02");
    EXPECT_EQ(breakfast.back().display, "Mat 41");
    EXPECT_EQ(state->picker.mealKindFoods[3].size(), 1u);
    // The recent foods count all meals together.
    ASSERT_EQ(state->picker.recentFoods.size(), 40u);
    EXPECT_EQ(state->picker.recentFoods.front().display, "Mat 03");

    ShowMealKindList(*state, 7);
    EXPECT_EQ(Displays(*state), std::vector<std::string>{"Mat 99"});
}

TEST_F(FoodListTest, ChoosingAddsFoodsOnlyAndTextRowsTakeTheFirstFreeRow)
{
    data.Table("nalvex100", std::string(kHeader) + "1\tBanan\t120\tst\tFrukt\n");
    Start();
    FillFoodList(*state, "banan");
    ASSERT_EQ(state->picker.shown.size(), 6u);
    for (int separator = 1; separator < 6; ++separator) EXPECT_FALSE(ChooseFoodListEntry(*state, prompts, separator));
    FillFoodList(*state, "gurka");
    EXPECT_FALSE(ChooseFoodListEntry(*state, prompts, 5));  // the no-match row
    EXPECT_TRUE(state->calculation.Row(0, 0, 1).IsEmpty());

    FillFoodList(*state, "banan");
    EXPECT_TRUE(ChooseFoodListEntry(*state, prompts, 0));
    EXPECT_EQ(state->calculation.Row(0, 0, 1).code, "1");
    EXPECT_FLOAT_EQ(state->calculation.Row(0, 0, 1).grams, 120.0f);

    state->CalculationDirty = false;
    EXPECT_EQ(AddTextRow(*state, "12:00 lunch på jobbet"), 2);
    EXPECT_EQ(state->calculation.Row(0, 0, 2).code, "12:00 lunch på jobbet");
    EXPECT_EQ(state->calculation.Row(0, 0, 2).name, "12:00 lunch på jobbet");
    EXPECT_TRUE(state->calculation.Row(0, 0, 2).IsTextRow());
    EXPECT_TRUE(state->CalculationDirty);

    // A full meal: the text replaces row 199.
    for (int r = 1; r <= kLastRow; ++r) state->calculation.Row(0, 0, r).code = "1";
    EXPECT_EQ(AddTextRow(*state, "kväll: te"), kLastRow);
    EXPECT_EQ(state->calculation.Row(0, 0, kLastRow).name, "kväll: te");
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(FoodListTest, PromptedSearchNeedsTwoCharacters)
{
    data.Table("nalvex100", std::string(kHeader) + "1\tTomatsoppa\t250\tport\t\n");
    Start();
    prompts.inputAnswers = {std::string("s"), std::nullopt, std::string("soppa")};
    EXPECT_EQ(SearchByPrompt(*state, prompts), std::nullopt);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Minst två tecken behövs för att söka"});
    EXPECT_EQ(SearchByPrompt(*state, prompts), std::nullopt);
    EXPECT_EQ(state->picker.LastSearchText, "");
    EXPECT_EQ(SearchByPrompt(*state, prompts), 1);
    EXPECT_EQ(state->picker.LastSearchText, "soppa");
    EXPECT_EQ(prompts.inputs.front(), "Skriv ett ord att söka på (t.ex. soppa)|Sökord+ENTER");
}

TEST_F(FoodListTest, ExpiredQuestionKeepsTheSettingOnCancel)
{
    data.Table("nalvex100", std::string(kHeader) + "1\tOst UTGÅTT\t10\tg\t\n");
    Start();
    prompts.answers = {Answer::Yes, Answer::Cancel, Answer::No};
    EXPECT_EQ(AskShowExpired(*state, prompts, "ost"), 1);
    EXPECT_EQ(state->picker.LastSearchText, "ost");
    EXPECT_EQ(AskShowExpired(*state, prompts, "ost"), 1);
    EXPECT_EQ(AskShowExpired(*state, prompts, "ost"), 0);
    EXPECT_EQ(prompts.questions.front(), "Visa också artiklar som UTGÅTT");
}

TEST_F(FoodListTest, FavouritesAreAddedOnceAndRemovedInFavouritesMode)
{
    data.Table("nalvex100", std::string(kHeader) + "1\tBanan\t120\tst\t\n2\tBanankaka\t50\tbit\t\n");
    Start();
    FillFoodList(*state, "banan");
    ASSERT_TRUE(SetContextEntry(*state, 1));
    EXPECT_EQ(state->picker.ContextFoodCode, "2");
    EXPECT_TRUE(AddContextEntryToFavourites(*state));
    EXPECT_FALSE(AddContextEntryToFavourites(*state));
    SetContextEntry(*state, 0);
    EXPECT_TRUE(AddContextEntryToFavourites(*state));
    SetContextEntry(*state, 2);  // the manufacturers' separator
    EXPECT_FALSE(AddContextEntryToFavourites(*state));
    EXPECT_FALSE(SetContextEntry(*state, 99));

    ASSERT_EQ(state->picker.favourites.size(), 2u);
    EXPECT_EQ(state->picker.favourites[0].key, "Banan{1}120@st");

    SetContextEntry(*state, 0);
    EXPECT_FALSE(RemoveContextEntryFromFavourites(*state));  // not in favourites mode
    ShowFavourites(*state);
    SetContextEntry(*state, 0);
    EXPECT_TRUE(RemoveContextEntryFromFavourites(*state));
    EXPECT_EQ(Displays(*state), std::vector<std::string>{"Banankaka"});
    EXPECT_EQ(state->picker.listMode, ListMode::Favorit);
}

TEST(ProductInfoAddress, PointsAtTheSourceOfTheCode)
{
    struct Case {
        const char* code;
        bool national;
        const char* www;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"dab7350012340018", false, "", "https://www.dabas.com/productsheet/07350012340018"},
        {"dab12", true, "", "https://www.dabas.com/productsheet/00000000000012"},
        {"59", true, "", "https://soknaringsinnehall.livsmedelsverket.se/Home/FoodDetails/59"},
        {"F1", false, "https://example.com/havre", "https://example.com/havre"},
        {"E1", false, "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ProductInfoAddress(c.code, c.national, c.www), c.expected) << c.code;
}

TEST(StartFiles, CountryLetterSetsBreakfastNamesAndStartLanguage)
{
    struct Case {
        const char* file;  // nullptr: no country.txt
        std::string code;
        std::string shortName, longName;
        bool hidesOrigin;
        std::optional<OriginBox> box;
        std::string searchText;
        int language;
    };
    const std::vector<Case> cases{
        {nullptr, "S", "Frukost", "Frukost", false, OriginBox::Svensk, "Sök", 1},
        {"x\r\n", "X", "Frukost", "Frukost", true, OriginBox::Svensk, "Sök", 1},
        {"N\r\nignored\r\n", "N", "Frukost", "Frukost", false, OriginBox::Norsk, "Sök", 4},
        {"d", "D", "M-mad", "Morgenmad", false, OriginBox::Dansk, "Sök", 3},
        {"E\r\n", "E", "B-fast", "BreakFast", false, OriginBox::Svensk, "Find", 2},
        {"Q\r\n", "Q", "Frukost", "Frukost", false, std::nullopt, "", 0},
    };
    for (const Case& c : cases) {
        FixtureData data;
        if (c.file) data.File("country.txt", c.file);
        auto state = data.Start();
        SCOPED_TRACE(c.code);
        EXPECT_EQ(state->CountryCode, c.code);
        EXPECT_EQ(state->texts.shortBreakfastName, c.shortName);
        EXPECT_EQ(state->MealName(0), c.longName);
        EXPECT_EQ(HidesOriginChoice(state->CountryCode), c.hidesOrigin);
        auto start = StartLanguageFor(state->CountryCode);
        ASSERT_EQ(start.has_value(), c.box.has_value());
        if (start) {
            EXPECT_EQ(start->originBox, *c.box);
            EXPECT_EQ(start->searchText, c.searchText);
            EXPECT_EQ(start->language, c.language);
        }
    }
}

TEST(StartFiles, ListsSurviveARunAndRecentFilesAreCutToFiftyOne)
{
    FixtureData data;
    std::string recent;
    for (int n = 1; n <= 60; ++n) recent += "/home/anna/kost/dag" + std::to_string(n) + ".diet\r\n";
    data.File("senasteFiler.txt", recent);
    // Windows-1252: "ö" is F6. The entries are out of order and the last line is unpaired.
    data.File("Favoriter.txt", "Sm\xF6r\r\nSm\xF6r{12}10@msk\r\nBanan\r\nBanan{1}120@st\r\nHalv\r\n");
    data.File("senaste.txt", "Mj\xF6lk\r\nMj\xF6lk{59}103@dl\r\n");
    data.File("initdir.txt", "/home/anna/kost\r\n");
    auto state = data.Start();

    ASSERT_EQ(state->recentCalculationFiles.size(), 60u);
    EXPECT_EQ(state->recentCalculationFiles.front(), "/home/anna/kost/dag1.diet");
    ASSERT_EQ(state->picker.favourites.size(), 2u);
    EXPECT_EQ(state->picker.favourites[0].display, "Banan");
    EXPECT_EQ(state->picker.favourites[1].key, "Smör{12}10@msk");
    ASSERT_EQ(state->picker.recentFoods.size(), 1u);
    EXPECT_EQ(state->picker.recentFoods[0].key, "Mjölk{59}103@dl");
    EXPECT_EQ(state->picker.listMode, ListMode::Senaste);
    EXPECT_EQ(state->fileDialogStartFolder, "/home/anna/kost");

    WriteCloseFiles(*state);
    // The file keeps the name it was found under.
    EXPECT_EQ(ReadFile(data.DataFolder() / "Favoriter.txt"),
              "Banan\r\nBanan{1}120@st\r\nSm\xF6r\r\nSm\xF6r{12}10@msk\r\n");
    EXPECT_FALSE(std::filesystem::exists(data.DataFolder() / "favoriter.txt"));
    std::string expected;
    for (int n = 1; n <= 51; ++n) expected += "/home/anna/kost/dag" + std::to_string(n) + ".diet\r\n";
    EXPECT_EQ(ReadFile(data.DataFolder() / "senasteFiler.txt"), expected);

    auto again = data.Start();
    EXPECT_EQ(again->picker.favourites.size(), 2u);
    EXPECT_EQ(again->recentCalculationFiles.size(), 51u);

    // Empty lists leave the files as they are.
    again->picker.favourites.clear();
    again->recentCalculationFiles.clear();
    WriteCloseFiles(*again);
    EXPECT_EQ(ReadFile(data.DataFolder() / "senasteFiler.txt"), expected);
    EXPECT_EQ(ReadFile(data.DataFolder() / "Favoriter.txt").substr(0, 7), "Banan\r\n");
}

}  // namespace
}  // namespace velmora

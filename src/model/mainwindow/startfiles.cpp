#include "mainwindow/startfiles.h"

#include <vector>

#include "core/programstate.h"
#include "core/text.h"
#include "platform/textfile.h"

namespace velmora {
namespace {

// Lines of an optional file: nothing when it is missing, what was read before a broken line.
std::vector<std::string> OptionalLines(const ProgramState& state, std::string_view name)
{
    std::vector<std::string> lines;
    ReadTextLines(FindSmallFile(state.dataFolder, name), lines);
    return lines;
}

std::string Trimmed(std::string_view text)
{
    auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// Pairs of lines, display text then key text, into a list sorted by display text. An unpaired last
// line is dropped.
void ReadPairs(const ProgramState& state, std::string_view name, std::vector<FoodListEntry>& list)
{
    const std::vector<std::string> lines = OptionalLines(state, name);
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) AddSorted(list, {lines[i], lines[i + 1]});
}

}  // namespace

std::filesystem::path FindSmallFile(const std::filesystem::path& folder, std::string_view name)
{
    std::filesystem::path exact = folder / std::string(name);
    std::error_code error;
    if (std::filesystem::exists(exact, error)) return exact;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (EqualsIgnoreCase(it->path().filename().string(), name)) return it->path();
    }
    return exact;
}

void ApplyCountryCode(ProgramState& state, std::string_view code)
{
    state.CountryCode = std::string(code);
    std::string shortName;
    std::string longName;
    if (code == "S" || code == "X") {
        shortName = longName = "Frukost";
    } else if (code == "D") {
        shortName = "M-mad";
        longName = "Morgenmad";
    } else if (code == "E") {
        shortName = "B-fast";
        longName = "BreakFast";
    } else {
        return;
    }
    state.texts.shortBreakfastName = shortName;
    state.texts.mealNames[0] = longName;
    if (state.CurrentMeal == 0) state.currentMealName = longName;
}

void ReadCountryFile(ProgramState& state)
{
    const std::vector<std::string> lines = OptionalLines(state, "country.txt");
    if (lines.empty()) return;
    const std::string code = UpperCase(Trimmed(lines.front()));
    if (!code.empty()) ApplyCountryCode(state, code);
}

bool HidesOriginChoice(std::string_view countryCode) { return countryCode == "X"; }

std::optional<StartLanguage> StartLanguageFor(std::string_view countryCode)
{
    if (countryCode == "S" || countryCode == "X") return StartLanguage{OriginBox::Svensk, "Sök", 1, "svenska"};
    if (countryCode == "N") return StartLanguage{OriginBox::Norsk, "Sök", 4, "norska"};
    if (countryCode == "D") return StartLanguage{OriginBox::Dansk, "Sök", 3, "danska"};
    if (countryCode == "E") return StartLanguage{OriginBox::Svensk, "Find", 2, "engelska"};
    return std::nullopt;
}

void ReadStartFiles(ProgramState& state)
{
    ReadCountryFile(state);

    ReadPairs(state, "favoriter.txt", state.picker.favourites);
    for (const std::string& line : OptionalLines(state, "senasteFiler.txt")) {
        if (!Trimmed(line).empty()) state.recentCalculationFiles.emplace_back(line);
    }
    state.picker.listMode = ListMode::Senaste;
    ReadPairs(state, "senaste.txt", state.picker.recentFoods);

    state.fileDialogStartFolder = ".";
    const std::vector<std::string> initdir = OptionalLines(state, "initdir.txt");
    if (!initdir.empty() && !Trimmed(initdir.front()).empty()) state.fileDialogStartFolder = initdir.front();
}

void WriteCloseFiles(const ProgramState& state)
{
    if (!state.picker.favourites.empty()) {
        std::vector<std::string> lines;
        lines.reserve(state.picker.favourites.size() * 2);
        for (const FoodListEntry& entry : state.picker.favourites) {
            lines.push_back(entry.display);
            lines.push_back(entry.key);
        }
        WriteTextLines(FindSmallFile(state.dataFolder, "favoriter.txt"), lines);
    }
    if (!state.recentCalculationFiles.empty()) {
        std::vector<std::string> lines;
        for (const auto& path : state.recentCalculationFiles) {
            if (lines.size() == kRecentFilesWritten) break;
            lines.push_back(path.string());
        }
        WriteTextLines(FindSmallFile(state.dataFolder, "senasteFiler.txt"), lines);
    }
}

}  // namespace velmora

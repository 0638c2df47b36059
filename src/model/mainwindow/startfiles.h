#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

struct ProgramState;

// The file of that name in the folder, whatever the letter case of the name on disk; folder/name
// when there is none.
std::filesystem::path FindSmallFile(const std::filesystem::path& folder, std::string_view name);

// country.txt: the first line, upper-cased, becomes CountryCode and sets the breakfast names. A
// missing or empty file keeps the defaults.
void ReadCountryFile(ProgramState& state);
void ApplyCountryCode(ProgramState& state, std::string_view code);
// "X" hides the language menu and the three origin boxes.
bool HidesOriginChoice(std::string_view countryCode);

// The start language of a country: the origin box to check, the search box text and the language.
enum class OriginBox { Svensk, Norsk, Dansk };
struct StartLanguage {
    OriginBox originBox;
    std::string searchText;
    int language;              // 1 svenska, 2 engelska, 3 danska, 4 norska
    std::string languageName;
};
std::optional<StartLanguage> StartLanguageFor(std::string_view countryCode);
// The word the first food list is filled with at start.
inline constexpr std::string_view kStartSearchWord = "banan";

// What the main window reads while it is created, from the data folder: country.txt,
// favoriter.txt, senasteFiler.txt, senaste.txt and initdir.txt. Missing or broken files are
// skipped without a message; what was read before a broken line stays.
void ReadStartFiles(ProgramState& state);

// At close: favoriter.txt when the favourites hold an entry, senasteFiler.txt (at most
// kRecentFilesWritten paths) when there is a recent calculation. Write errors are ignored.
inline constexpr std::size_t kRecentFilesWritten = 51;
void WriteCloseFiles(const ProgramState& state);

}  // namespace velmora

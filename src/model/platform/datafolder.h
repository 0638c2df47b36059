#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/result.h"

namespace velmora {

// --data-dir, else $VELMORA_HOME, else $XDG_DATA_HOME/velmora, else ~/.local/share/velmora.
std::filesystem::path ResolveDataFolder(const std::optional<std::filesystem::path>& option);

// The shipped defaults: $VELMORA_SHIPPED_DATA, else the data/ folder the program was built from.
std::filesystem::path ShippedDataFolder();

// Creates the data folder when needed and adds what it lacks from the shipped data: tables.sqlite
// built from the table sources, and the small text files. Nothing that exists is overwritten.
// `created` receives the names of what was added.
Status SeedDataFolder(const std::filesystem::path& folder, const std::filesystem::path& shipped,
                      std::vector<std::string>& created);

inline constexpr const char* kTablesFile = "tables.sqlite";

}  // namespace velmora

#include "platform/datafolder.h"

#include <cstdlib>

#include "platform/tablesources.h"

namespace velmora {

std::filesystem::path ResolveDataFolder(const std::optional<std::filesystem::path>& option)
{
    if (option && !option->empty()) return *option;
    if (const char* home = std::getenv("VELMORA_HOME"); home && *home) return home;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::filesystem::path(xdg) / "velmora";
    const char* user = std::getenv("HOME");
    return std::filesystem::path(user && *user ? user : ".") / ".local" / "share" / "velmora";
}

std::filesystem::path ShippedDataFolder()
{
    if (const char* shipped = std::getenv("VELMORA_SHIPPED_DATA"); shipped && *shipped) return shipped;
    return VELMORA_SHIPPED_DATA;
}

Status SeedDataFolder(const std::filesystem::path& folder, const std::filesystem::path& shipped,
                      std::vector<std::string>& created)
{
    std::error_code error;
    if (!std::filesystem::exists(folder, error)) {
        std::filesystem::create_directories(folder, error);
        if (error) return Status::Error("Kan inte skapa datamappen " + folder.string() + ": " + error.message());
        created.push_back(folder.string());
    } else if (!std::filesystem::is_directory(folder, error)) {
        return Status::Error("Datamappen " + folder.string() + " är ingen mapp.");
    }
    if (!std::filesystem::is_directory(shipped, error)) {
        return Status::Error("Programmets data saknas: " + shipped.string());
    }

    for (const auto& entry : std::filesystem::directory_iterator(shipped, error)) {
        if (!entry.is_regular_file()) continue;
        const std::filesystem::path target = folder / entry.path().filename();
        if (std::filesystem::exists(target, error)) continue;
        // Copy beside the target first, so that a failed copy leaves nothing half-written.
        std::filesystem::path temporary = target;
        temporary += ".seeding";
        std::filesystem::copy_file(entry.path(), temporary, std::filesystem::copy_options::overwrite_existing, error);
        if (!error) std::filesystem::rename(temporary, target, error);
        if (error) {
            std::filesystem::remove(temporary, error);
            return Status::Error("Kan inte kopiera " + entry.path().filename().string() + " till " + folder.string());
        }
        created.push_back(entry.path().filename().string());
    }
    if (error) return Status::Error("Kan inte läsa " + shipped.string() + ": " + error.message());

    const std::filesystem::path tables = folder / kTablesFile;
    if (!std::filesystem::exists(tables, error)) {
        if (Status status = BuildTablesDatabase(shipped / "tables", tables); !status) return status;
        created.push_back(kTablesFile);
    }
    return Status::Ok();
}

}  // namespace velmora

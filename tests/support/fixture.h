#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "core/programstate.h"
#include "core/session.h"
#include "platform/datafolder.h"

namespace velmora::testing {

inline std::filesystem::path SourceDir() { return VELMORA_SOURCE_DIR; }

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        m_path = made ? made : pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A shipped-data folder of our own: the real nutrient names file and small table sources that a
// test states in full, so that each case shows its data.
class FixtureData {
public:
    FixtureData()
    {
        std::filesystem::create_directories(m_root.path() / "shipped" / "tables");
        std::filesystem::copy_file(SourceDir() / "data" / "nvnamn.txt", m_root.path() / "shipped" / "nvnamn.txt");
        // Tables the test does not state get their header only.
        for (const char* name : {"nalvex100", "nalvex2005", "fabrikant", "egna", "dabas", "normkroppsvikt"}) {
            Table(name, name == std::string("normkroppsvikt") ? "Nr\tNorm\n" : "Kod\tLivsmedel\n");
        }
        Table("normer", "Nr\tNorm\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tFett _g_\tKolhydrater _g_\n"
                        "18\tKvinnor 31-60 år\t8418\t2000\t75\t70\t261\n");
        setenv("VELMORA_SHIPPED_DATA", (m_root.path() / "shipped").c_str(), 1);
    }
    ~FixtureData() { unsetenv("VELMORA_SHIPPED_DATA"); }

    // Replaces one table source: a header line and records, tab-separated.
    void Table(const std::string& name, const std::string& text)
    {
        WriteFile(m_root.path() / "shipped" / "tables" / (name + ".tsv"), text);
    }
    void File(const std::string& name, const std::string& bytes) { WriteFile(m_root.path() / "shipped" / name, bytes); }

    // Starts a run on a new data folder seeded from these sources.
    std::unique_ptr<ProgramState> Start()
    {
        auto state = std::make_unique<ProgramState>();
        Status status = StartSession(*state, DataFolder());
        EXPECT_TRUE(status.ok) << status.message;
        return state;
    }
    std::filesystem::path DataFolder() const { return m_root.path() / "data"; }
    std::filesystem::path Work() const { return m_root.path(); }

private:
    TempDir m_root;
};

}  // namespace velmora::testing

#pragma once

#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/programstate.h"
#include "core/prompts.h"
#include "core/session.h"
#include "recordingprompts.h"

namespace velmora::guitest {

// The recording seam for Qt Test: unprepared questions are collected in `unexpected`, which each
// test checks at its end.
class ScriptedPrompts : public velmora::testing::RecordingPrompts {
public:
    std::vector<std::string> unexpected;

protected:
    void Unexpected(const std::string& what) override { unexpected.push_back(what); }
};

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A data folder seeded from small table sources the test states, with the shipped nutrient names.
class GuiFixture {
public:
    GuiFixture()
    {
        m_shipped = std::filesystem::path(m_dir.path().toStdString()) / "shipped";
        std::filesystem::create_directories(m_shipped / "tables");
        std::filesystem::copy_file(std::filesystem::path(VELMORA_SOURCE_DIR) / "data" / "nvnamn.txt", m_shipped / "nvnamn.txt");
        for (const char* name : {"nalvex100", "nalvex2005", "fabrikant", "egna", "dabas"}) Table(name, "Kod\tLivsmedel\n");
        Table("normkroppsvikt", "Nr\tNorm\n");
        Table("normer", "Nr\tNorm\tEnergi _kJ_ _kJ_\tEnergi _kcal_ _kcal_\tProtein _g_\tFett _g_\tKolhydrater _g_\n"
                        "18\tKvinnor 31-60 år\t8418\t2000\t75\t70\t261\n");
        qputenv("VELMORA_SHIPPED_DATA", QByteArray::fromStdString(m_shipped.string()));
    }
    void Table(const std::string& name, const std::string& text) { WriteFile(m_shipped / "tables" / (name + ".tsv"), text); }
    void File(const std::string& name, const std::string& bytes) { WriteFile(m_shipped / name, bytes); }
    std::filesystem::path DataFolder() const { return std::filesystem::path(m_dir.path().toStdString()) / "data"; }
    std::filesystem::path Work() const { return std::filesystem::path(m_dir.path().toStdString()); }
    std::unique_ptr<ProgramState> Start()
    {
        auto state = std::make_unique<ProgramState>();
        Status status = StartSession(*state, DataFolder());
        if (!status) qWarning("StartSession: %s", status.message.c_str());
        return state;
    }

private:
    QTemporaryDir m_dir;
    std::filesystem::path m_shipped;
};

}  // namespace velmora::guitest

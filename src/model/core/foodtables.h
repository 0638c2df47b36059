#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/nutrients.h"
#include "platform/tablestore.h"

namespace velmora {

enum class FoodSource { Nalvex100, Nalvex2005, Fabrikant, Egna, Dabas };
inline constexpr int kFoodSourceCount = 5;

std::string_view FoodSourceTable(FoodSource source);

// The record layout the five food tables share, with the naming and capacities of each table.
const TableDef& FoodTableDef(FoodSource source);
// The norm tables share the layout with "Nr" and "Norm" in place of the first two fields.
const TableDef& NormTableDef(std::string_view tableName);  // "normer" or "normkroppsvikt"

// Search orders of FindFood.
inline constexpr std::array kAddOrder{FoodSource::Nalvex100, FoodSource::Fabrikant, FoodSource::Egna,
                                      FoodSource::Dabas};
inline constexpr std::array kLoadOrder{FoodSource::Nalvex100, FoodSource::Nalvex2005, FoodSource::Fabrikant,
                                       FoodSource::Egna, FoodSource::Dabas};
inline constexpr std::array kOldFormatOrder{FoodSource::Nalvex100, FoodSource::Fabrikant, FoodSource::Egna};

struct ExtraUnit {
    std::string name;   // capacity 16
    float weight = 0;   // grams
};

struct FoodRecord {
    std::string code;   // capacity 81
    std::string name;   // capacity 80
    std::string unit;   // capacity 16
    float unitWeight = 0;
    float pricePerKg = 0;
    std::array<ExtraUnit, 4> extraUnits{};
    float wastePercent = 0;
    std::string note;   // capacity 20
    std::string www;
    NutrientVector nutrients{};  // per 100 g, -1 = missing
};

// The five food tables, open for the whole run.
class FoodTables {
public:
    Status Open(Database& db);
    void Close();
    bool IsOpen() const { return m_open; }
    Table& operator[](FoodSource source) { return m_tables[static_cast<std::size_t>(source)]; }

private:
    std::array<Table, kFoodSourceCount> m_tables;
    bool m_open = false;
};

Status OpenFoodTables(Database& db, FoodTables& tables);

// The first table of the order that has the code, positioned on its record.
std::optional<FoodSource> FindFood(FoodTables& tables, std::string_view code, std::span<const FoodSource> order);

// A wholesaler's article number of the national table becomes that food's code; anything else
// comes back unchanged.
std::string TranslateArticleNumber(FoodTables& tables, std::string_view text);

// The current record of a food table, with the missing-value pass: an empty nutrient field is -1.
FoodRecord ReadFoodRecord(const Table& table);

}  // namespace velmora

#include "core/foodtables.h"

#include "core/numbers.h"
#include "core/text.h"

namespace velmora {
namespace {

TableDef MakeRecordLayout(std::string name, bool secondNaming, bool wideUnits, int codeCapacity, bool isNorm)
{
    TableDef def;
    def.name = std::move(name);
    auto text = [&](std::string field, int capacity) { def.fields.push_back({std::move(field), FieldType::Text, capacity}); };
    auto real = [&](std::string field) { def.fields.push_back({std::move(field), FieldType::Real, 0}); };
    if (isNorm) {
        def.fields.push_back({"Nr", FieldType::Integer, 0});
        text("Norm", 100);
    } else {
        text("Kod", codeCapacity);
        text("Livsmedel", 100);
    }
    real("Portionsstorlek");
    text("Enhet", 10);
    text("Grupp1", 30);
    text("Grupp2", 30);
    text("kgpris", 10);
    text("Datum", 10);
    text("Grossist", 12);
    text("Grossartnr", 20);
    text("ean", 20);
    text("Res1", 20);
    text("Res2", 20);
    real("Avfall _%_");
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        real(std::string(secondNaming ? NutrientFieldNameSecondNaming(slot) : NutrientFieldName(slot)));
    }
    const int unitCapacity = wideUnits ? 16 : 10;
    for (int k = 1; k <= 4; ++k) {
        real("port" + std::to_string(k));
        text("enhet" + std::to_string(k), unitCapacity);
    }
    text("extrastring", 20);
    text("www", 60);

    if (isNorm) {
        def.indexes.push_back({"", "Nr", true});
    } else {
        def.indexes.push_back({"", "Kod", true});
        def.indexes.push_back({"livsmedel", "Livsmedel", false});
    }
    return def;
}

std::array<TableDef, kFoodSourceCount> MakeFoodDefs()
{
    std::array<TableDef, kFoodSourceCount> defs{
        MakeRecordLayout("nalvex100", false, false, 12, false),
        MakeRecordLayout("nalvex2005", false, false, 12, false),
        MakeRecordLayout("fabrikant", true, true, 12, false),
        MakeRecordLayout("egna", false, true, 12, false),
        MakeRecordLayout("dabas", true, true, 24, false),
    };
    defs[0].indexes.push_back({"grossartnr", "Grossartnr", false});
    return defs;
}

}  // namespace

std::string_view FoodSourceTable(FoodSource source) { return FoodTableDef(source).name; }

const TableDef& FoodTableDef(FoodSource source)
{
    static const std::array<TableDef, kFoodSourceCount> defs = MakeFoodDefs();
    return defs[static_cast<std::size_t>(source)];
}

const TableDef& NormTableDef(std::string_view tableName)
{
    static const TableDef normer = MakeRecordLayout("normer", false, false, 0, true);
    static const TableDef perKg = MakeRecordLayout("normkroppsvikt", false, false, 0, true);
    return EqualsIgnoreCase(tableName, "normkroppsvikt") ? perKg : normer;
}

Status FoodTables::Open(Database& db)
{
    Close();
    for (int i = 0; i < kFoodSourceCount; ++i) {
        auto source = static_cast<FoodSource>(i);
        if (Status status = m_tables[static_cast<std::size_t>(i)].Open(db, FoodTableDef(source)); !status) {
            Close();
            return status;
        }
    }
    m_open = true;
    return Status::Ok();
}

void FoodTables::Close()
{
    for (Table& table : m_tables) table.Close();
    m_open = false;
}

Status OpenFoodTables(Database& db, FoodTables& tables) { return tables.Open(db); }

std::optional<FoodSource> FindFood(FoodTables& tables, std::string_view code, std::span<const FoodSource> order)
{
    for (FoodSource source : order) {
        Table& table = tables[source];
        if (!table.IsOpen()) continue;
        table.SetIndex("");
        if (table.FindKey(code)) return source;
    }
    return std::nullopt;
}

std::string TranslateArticleNumber(FoodTables& tables, std::string_view text)
{
    Table& national = tables[FoodSource::Nalvex100];
    if (!national.IsOpen() || text.empty()) return std::string(text);
    std::string result(text);
    if (national.SetIndex("grossartnr") && national.FindKey(text)) result = national.FieldText("kod");
    national.SetIndex("");
    return result;
}

FoodRecord ReadFoodRecord(const Table& table)
{
    // Fixed positions of the shared record layout.
    constexpr int kCode = 0, kName = 1, kUnitWeight = 2, kUnit = 3, kPrice = 6, kWaste = 13, kFirstExtra = 86,
                  kNote = 94, kWww = 95;
    FoodRecord food;
    AssignShort(food.code, table.FieldText(kCode), 81);
    AssignShort(food.name, table.FieldText(kName), 80);
    AssignShort(food.unit, table.FieldText(kUnit), 16);
    food.unitWeight = ParseDecimal(table.FieldText(kUnitWeight));
    food.pricePerKg = ParseDecimal(table.FieldText(kPrice));
    for (int k = 0; k < 4; ++k) {
        ExtraUnit& extra = food.extraUnits[static_cast<std::size_t>(k)];
        AssignShort(extra.name, table.FieldText(kFirstExtra + 2 * k + 1), 16);
        extra.weight = ParseDecimal(table.FieldText(kFirstExtra + 2 * k));
    }
    food.wastePercent = ParseDecimal(table.FieldText(kWaste));
    AssignShort(food.note, table.FieldText(kNote), 20);
    food.www = table.FieldText(kWww);
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        const int position = SlotFieldPosition(slot);
        food.nutrients[static_cast<std::size_t>(SlotIndex(slot))] =
            table.FieldIsEmpty(position) ? kMissingValue : static_cast<float>(table.FieldFloat(position));
    }
    return food;
}

}  // namespace velmora

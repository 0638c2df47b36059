#include "mainwindow/foodlist.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "core/programstate.h"
#include "core/prompts.h"
#include "core/recalculate.h"
#include "core/text.h"
#include "core/workspace_ops.h"
#include "platform/tablestore.h"

namespace velmora {

int MealKindList(int meal) { return std::clamp(meal, 0, 3); }

bool AddSorted(std::vector<FoodListEntry>& list, const FoodListEntry& entry)
{
    for (const FoodListEntry& existing : list) {
        if (existing.display == entry.display) return false;
    }
    auto place = std::upper_bound(list.begin(), list.end(), entry, [](const FoodListEntry& a, const FoodListEntry& b) {
        return CompareNameTexts(a.display, b.display) < 0;
    });
    list.insert(place, entry);
    return true;
}

void AddSortedCapped(std::vector<FoodListEntry>& list, const FoodListEntry& entry, std::size_t capacity)
{
    AddSorted(list, entry);
    while (list.size() > capacity) list.erase(list.begin());
}

void RememberChosenFood(FoodPickerState& picker, int meal, const FoodListEntry& entry)
{
    AddSortedCapped(picker.recentFoods, entry, kFoodListCapacity);
    AddSortedCapped(picker.mealKindFoods[MealKindList(meal)], entry, kFoodListCapacity);
}

// ---- Indexes ------------------------------------------------------------------------------------

std::string FoodKeyText(std::string_view name, std::string_view code, std::string_view portion, std::string_view unit)
{
    std::string key;
    key.reserve(name.size() + code.size() + portion.size() + unit.size() + 3);
    key.append(name).append("{").append(code).append("}").append(portion).append("@").append(unit);
    return key;
}

bool FoodIndex::Add(std::string_view code, std::string_view name, std::string_view unit, std::string_view portion,
                    std::string_view group)
{
    if (m_entries.size() >= m_capacity) return false;
    FoodIndexEntry& entry = m_entries.emplace_back();
    AssignShort(entry.code, code, 22);
    AssignShort(entry.name, name, 80);
    AssignShort(entry.unit, unit, 16);
    AssignShort(entry.portion, portion, 8);
    AssignShort(entry.group, group, 30);
    entry.upperName = UpperCase(entry.name);
    entry.upperGroup = UpperCase(entry.group);
    entry.key = FoodKeyText(entry.name, entry.code, entry.portion, entry.unit);
    entry.placeholder = entry.upperName == "RESERV";
    entry.expired = ContainsText(entry.upperName, "UTGÅ");
    entry.norwegian = ContainsText(entry.upperName, "/NO");
    entry.danish = ContainsText(entry.upperName, "/DK");
    return true;
}

Status FillFoodIndex(Table& table, FoodIndex& index, bool withGroup, const std::function<void(int)>& progress)
{
    index.Clear();
    if (!table.IsOpen()) return Status::Ok();
    if (Status status = table.SetIndex("livsmedel"); !status) return status;
    index.Reserve();
    std::vector<int> fields{table.FieldPosition("kod"), table.FieldPosition("livsmedel"), table.FieldPosition("enhet"),
                            table.FieldPosition("portionsstorlek")};
    if (withGroup) fields.push_back(table.FieldPosition("grupp1"));
    int read = 0;
    Status status = table.ReadFieldTexts(fields, [&](const std::vector<std::string>& f) {
        // The capacity bounds the tables the program accepts; records beyond it are not listed.
        if (!index.Add(f[0], f[1], f[2], f[3], withGroup ? std::string_view(f[4]) : std::string_view())) return false;
        ++read;
        if (progress) progress(read);
        return true;
    });
    table.SetIndex("");
    return status;
}

namespace {

// The group box is a sorted list under its heading; "Bröd" is always there.
void BuildGroupList(ProgramState& state)
{
    FoodPickerState& picker = state.picker;
    std::vector<std::string> names{"Bröd"};
    for (const FoodIndexEntry& entry : picker.national) {
        if (!entry.group.empty()) names.push_back(entry.group);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareNameTexts(a, b) < 0; });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    picker.allGroups.clear();
    picker.allGroups.reserve(names.size() + 1);
    picker.allGroups.push_back(state.texts.foodGroupHeading);
    picker.allGroups.insert(picker.allGroups.end(), names.begin(), names.end());
}

}  // namespace

Status BuildFoodIndexes(ProgramState& state)
{
    FoodPickerState& picker = state.picker;
    FoodTables& tables = state.foodTables;
    Status status = FillFoodIndex(tables[FoodSource::Nalvex100], picker.national, true);
    BuildGroupList(state);
    if (Status next = FillFoodIndex(tables[FoodSource::Fabrikant], picker.manufacturers, false); status && !next) {
        status = next;
    }
    if (Status next = FillFoodIndex(tables[FoodSource::Egna], picker.ownFoods, false); status && !next) status = next;
    return status;
}

void LoadDabasIndex(ProgramState& state, const std::function<void(int)>& progress)
{
    FoodPickerState& picker = state.picker;
    if (picker.DabasLoaded) return;
    FillFoodIndex(state.foodTables[FoodSource::Dabas], picker.dabas, true, progress);
    std::unordered_set<std::string> listed(picker.dabasCompanies.begin(), picker.dabasCompanies.end());
    for (const FoodIndexEntry& entry : picker.dabas) {
        if (!entry.group.empty() && listed.insert(entry.group).second) picker.dabasCompanies.push_back(entry.group);
    }
    picker.DabasLoaded = true;
}

// ---- The food list --------------------------------------------------------------------------

namespace {

constexpr std::string_view kNoMatch = "Ingen träff på  ";

struct Separator {
    std::string_view display;
    std::string_view key;
};

constexpr Separator kManufacturerSeparator{"           --- FABRIKANTER (+ = wwwinfo) ---", " --- FABRIKANTER ---"};
constexpr Separator kOwnSeparator{"                         --- EGNA VÄRDEN ---", " --- EGNA VÄRDEN ---"};
constexpr Separator kDabasSeparator{"                         --- DABAS ---", " --- DABAS ---"};
constexpr Separator kDabasOffSeparator{"                         --- DABAS EJ AKTIVERAD ---",
                                       "         --- DABAS EJ AKTIVERAD ---"};
constexpr Separator kOwnRecipeSeparator{"                         --- RECEPT EGNA ---", " --- RECEPT EGNA---"};
constexpr Separator kGeneralRecipeSeparator{"                         --- RECEPT ALLMÄNNA ---", " --- RECEPT ALLMÄNNA---"};

struct Filters {
    bool notPlaceholder = false;
    bool expiry = false;
    bool origin = false;
};

// Overwrites the list's entries in place, so that a search that follows another reuses their
// buffers instead of allocating every text anew.
class ListWriter {
public:
    explicit ListWriter(std::vector<FoodListEntry>& list) : m_list(list) {}
    ~ListWriter() { m_list.resize(m_count); }
    void Put(std::string_view display, std::string_view key)
    {
        if (m_count < m_list.size()) {
            m_list[m_count].display.assign(display);
            m_list[m_count].key.assign(key);
        } else {
            m_list.push_back({std::string(display), std::string(key)});
        }
        ++m_count;
    }

private:
    std::vector<FoodListEntry>& m_list;
    std::size_t m_count = 0;
};

struct Search {
    explicit Search(std::string_view text) : s(UpperCase(text))
    {
        if (auto blank = s.find(' '); blank != std::string::npos) {
            twoWords = true;
            w1 = std::string_view(s).substr(0, blank);
            w2 = std::string_view(s).substr(blank + 1);
        }
        if (!s.empty() && s.front() == '/') company = std::string_view(s).substr(1);
    }
    bool Prefix(const FoodIndexEntry& e) const
    {
        return e.upperName.size() >= s.size() && std::memcmp(e.upperName.data(), s.data(), s.size()) == 0;
    }
    bool Contains(const FoodIndexEntry& e) const
    {
        std::string_view n = e.upperName;
        if (!twoWords) return n.find(s) != std::string_view::npos;
        return n.find(w1) != std::string_view::npos && n.find(w2) != std::string_view::npos;
    }

    std::string s;
    bool twoWords = false;
    std::string_view w1, w2;
    std::string_view company;  // the text after a leading "/": a company of the product database
};

bool Passes(const FoodIndexEntry& e, const Filters& filters, const FoodPickerState& picker)
{
    if (filters.notPlaceholder && e.placeholder) return false;
    if (filters.expiry && !picker.ShowExpired && e.expired) return false;
    if (filters.origin) {
        if (e.norwegian && !picker.norwegian) return false;
        if (e.danish && !picker.danish) return false;
        if (!e.norwegian && !e.danish && !picker.swedish) return false;
    }
    return true;
}

}  // namespace

int FillFoodList(ProgramState& state, std::string_view text)
{
    FoodPickerState& picker = state.picker;
    picker.groupIndex = 0;
    picker.listMode = ListMode::Namn;
    int count = 0;
    {
        ListWriter out(picker.shown);
        const Search search(text);

        auto scan = [&](const FoodIndex& index, const Filters& prefixFilters, const Filters& containsFilters,
                        bool byCompany) {
            if (search.s.empty()) return;
            // The company box searches "/" + company; products whose names don't carry the company
            // are found by their company field.
            auto first = [&](const FoodIndexEntry& e) {
                return search.Prefix(e) || (byCompany && !search.company.empty() && e.upperGroup == search.company);
            };
            for (const FoodIndexEntry& e : index) {
                if (first(e) && Passes(e, prefixFilters, picker)) {
                    out.Put(e.name, e.key);
                    ++count;
                }
            }
            for (const FoodIndexEntry& e : index) {
                if (!first(e) && search.Contains(e) && Passes(e, containsFilters, picker)) {
                    out.Put(e.name, e.key);
                    ++count;
                }
            }
        };

        scan(picker.national, {true, true, true}, {false, true, true}, false);
        out.Put(kManufacturerSeparator.display, kManufacturerSeparator.key);
        scan(picker.manufacturers, {true, true, false}, {false, true, false}, false);
        out.Put(kOwnSeparator.display, kOwnSeparator.key);
        scan(picker.ownFoods, {true, false, false}, {}, false);
        if (picker.dabasOn) {
            out.Put(kDabasSeparator.display, kDabasSeparator.key);
            scan(picker.dabas, {true, false, false}, {}, true);
        } else {
            out.Put(kDabasOffSeparator.display, kDabasOffSeparator.key);
        }
        out.Put(kOwnRecipeSeparator.display, kOwnRecipeSeparator.key);
        scan(picker.ownRecipes, {}, {}, false);
        out.Put(kGeneralRecipeSeparator.display, kGeneralRecipeSeparator.key);
        scan(picker.generalRecipes, {}, {}, false);

        if (count == 0) out.Put(std::string(kNoMatch) + search.s, "");
    }
    return count;
}

void FilterOriginGroups(ProgramState& state)
{
    FoodPickerState& picker = state.picker;
    picker.groups.clear();
    picker.groups.push_back(state.texts.foodGroupHeading);
    for (std::size_t i = 1; i < picker.allGroups.size(); ++i) {
        const std::string& name = picker.allGroups[i];
        if (name.empty()) continue;
        // Norwegian groups are marked as written; there are no Danish groups of their own.
        const bool norwegian = name.find("/No") != std::string::npos;
        if (norwegian ? !picker.norwegian : !picker.swedish) continue;
        picker.groups.push_back(name);
    }
    picker.groupIndex = 0;
}

void FilterFoodGroup(ProgramState& state, int groupIndex)
{
    FoodPickerState& picker = state.picker;
    picker.shown.clear();
    if (groupIndex < 0 || groupIndex >= static_cast<int>(picker.groups.size())) return;
    picker.groupIndex = groupIndex;
    if (groupIndex == 0) return;  // the heading
    const std::string g = UpperCase(picker.groups[static_cast<std::size_t>(groupIndex)]);
    const bool exact = CharacterCount(g) < 3;
    for (const FoodIndexEntry& e : picker.national) {
        if (exact ? e.upperGroup == g : ContainsText(e.upperGroup, g)) picker.shown.push_back({e.name, e.key});
    }
}

int OriginBoxClicked(ProgramState& state, std::string_view searchText)
{
    const int count = FillFoodList(state, searchText);
    state.picker.LastSearchText = std::string(searchText);
    state.picker.dabasCompanyIndex = 0;
    FilterOriginGroups(state);
    return count;
}

int AskShowExpired(ProgramState& state, Prompts& prompts, std::string_view searchText)
{
    switch (prompts.ask(state.texts.showExpiredQuestion, Buttons::YesNoCancel)) {
    case Answer::Yes: state.picker.ShowExpired = true; break;
    case Answer::No: state.picker.ShowExpired = false; break;
    default: break;
    }
    return OriginBoxClicked(state, searchText);
}

std::optional<int> SearchByPrompt(ProgramState& state, Prompts& prompts)
{
    auto word = prompts.input("Skriv ett ord att söka på (t.ex. soppa)", "Sökord+ENTER", "");
    if (!word) return std::nullopt;
    if (CharacterCount(*word) < 2) {
        prompts.inform("Minst två tecken behövs för att söka");
        return std::nullopt;
    }
    const int count = FillFoodList(state, *word);
    state.picker.LastSearchText = *word;
    return count;
}

bool SwitchDabas(ProgramState& state, Prompts& prompts, bool checked)
{
    state.picker.dabasOn = checked;
    prompts.inform("OBS! Dabas-produkter är ofta ofullständigt deklarerade och produkter kan utgå i kommande "
                   "uppdateringar");
    const bool mustLoad = !state.picker.DabasLoaded;
    FillFoodList(state, state.picker.LastSearchText);
    return mustLoad;
}

std::optional<int> SearchDabasCompany(ProgramState& state, int companyIndex)
{
    FoodPickerState& picker = state.picker;
    if (companyIndex <= 0 || companyIndex >= static_cast<int>(picker.dabasCompanies.size())) return std::nullopt;
    picker.dabasCompanyIndex = companyIndex;
    return FillFoodList(state, "/" + picker.dabasCompanies[static_cast<std::size_t>(companyIndex)]);
}

void ShowFavourites(ProgramState& state)
{
    state.picker.shown = state.picker.favourites;
    state.picker.listMode = ListMode::Favorit;
}

void ShowRecentFoods(ProgramState& state) { state.picker.shown = state.picker.recentFoods; }

void ShowMealKindList(ProgramState& state, int meal)
{
    state.picker.shown = state.picker.mealKindFoods[MealKindList(meal)];
}

bool IsFoodEntry(const FoodListEntry& entry)
{
    auto open = entry.key.find('{');
    return open != std::string::npos && entry.key.find('}', open) != std::string::npos;
}

bool ChooseFoodListEntry(ProgramState& state, Prompts& prompts, int index)
{
    const auto& shown = state.picker.shown;
    if (index < 0 || index >= static_cast<int>(shown.size())) return false;
    const FoodListEntry entry = shown[static_cast<std::size_t>(index)];  // AddFood may change the lists
    if (!IsFoodEntry(entry)) return false;
    AddFood(state, prompts, entry);
    return true;
}

int AddTextRow(ProgramState& state, std::string_view text)
{
    const int row = state.calculation.FirstEmptyRow(state.CurrentDay, state.CurrentMeal);
    MealRow& target = state.calculation.Row(state.CurrentDay, state.CurrentMeal, row);
    target.Clear();
    AssignShort(target.code, text, 81);
    AssignShort(target.name, text, 80);
    state.CalculationDirty = true;
    Recalculate(state);
    return row;
}

// ---- Context menu -------------------------------------------------------------------------------

bool SetContextEntry(ProgramState& state, int index)
{
    FoodPickerState& picker = state.picker;
    if (index < 0 || index >= static_cast<int>(picker.shown.size())) return false;
    picker.ContextFoodIndex = index;
    picker.ContextFoodCode = TextBetweenBraces(picker.shown[static_cast<std::size_t>(index)].key);
    return true;
}

bool AddContextEntryToFavourites(ProgramState& state)
{
    FoodPickerState& picker = state.picker;
    const int index = picker.ContextFoodIndex;
    if (index < 0 || index >= static_cast<int>(picker.shown.size())) return false;
    const FoodListEntry entry = picker.shown[static_cast<std::size_t>(index)];
    if (!IsFoodEntry(entry)) return false;
    return AddSorted(picker.favourites, entry);
}

bool RemoveContextEntryFromFavourites(ProgramState& state)
{
    FoodPickerState& picker = state.picker;
    const int index = picker.ContextFoodIndex;
    if (picker.listMode != ListMode::Favorit || index < 0 || index >= static_cast<int>(picker.favourites.size())) {
        return false;
    }
    picker.favourites.erase(picker.favourites.begin() + index);
    picker.ContextFoodIndex = -1;
    ShowFavourites(state);
    return true;
}

namespace {
constexpr std::string_view kNationalFoodPage = "https://soknaringsinnehall.livsmedelsverket.se/Home/FoodDetails/";
constexpr std::string_view kProductPage = "https://www.dabas.com/productsheet/";
}  // namespace

std::string ProductInfoAddress(std::string_view code, bool nationalFood, std::string_view manufacturerWww)
{
    if (code.starts_with("dab")) {
        std::string gtin(code.substr(3));
        if (gtin.size() < 14) gtin.insert(0, 14 - gtin.size(), '0');
        return std::string(kProductPage) + gtin;
    }
    if (nationalFood) return std::string(kNationalFoodPage) + std::string(code);
    return std::string(manufacturerWww);
}

std::string ProductInfoAddressFor(ProgramState& state, std::string_view code)
{
    if (code.empty()) return {};
    if (code.starts_with("dab")) return ProductInfoAddress(code, false, {});
    static constexpr FoodSource national[] = {FoodSource::Nalvex100};
    if (FindFood(state.foodTables, code, national)) return ProductInfoAddress(code, true, {});
    static constexpr FoodSource manufacturers[] = {FoodSource::Fabrikant};
    if (FindFood(state.foodTables, code, manufacturers)) {
        return ProductInfoAddress(code, false, state.foodTables[FoodSource::Fabrikant].FieldText("www"));
    }
    return {};
}

}  // namespace velmora

#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Nutrients are addressed by their slot: the 1-based field position 15..86 in the record layout
// that every food and norm table shares.
inline constexpr int kFirstNutrientSlot = 15;
inline constexpr int kLastNutrientSlot = 86;
inline constexpr int kNutrientCount = 72;
inline constexpr int kRecordFieldCount = 96;

using NutrientVector = std::array<float, kNutrientCount>;

inline constexpr float kMissingValue = -1.0f;

constexpr int SlotIndex(int slot) { return slot - kFirstNutrientSlot; }
constexpr int IndexSlot(int index) { return index + kFirstNutrientSlot; }
// 0-based position of a slot's field in a table record.
constexpr int SlotFieldPosition(int slot) { return slot - 1; }
constexpr bool IsNutrientSlot(int slot) { return slot >= kFirstNutrientSlot && slot <= kLastNutrientSlot; }

namespace slot {
inline constexpr int kJ = 15;
inline constexpr int kcal = 16;
inline constexpr int water = 17;
inline constexpr int ash = 18;
inline constexpr int protein = 19;
inline constexpr int fat = 20;
inline constexpr int carbohydrate = 21;
inline constexpr int retinol = 22;
inline constexpr int carotene = 23;
inline constexpr int retinolEquivalents = 24;
inline constexpr int vitaminD = 25;
inline constexpr int vitaminE = 26;
inline constexpr int thiamin = 27;
inline constexpr int vitaminC = 28;
inline constexpr int riboflavin = 29;
inline constexpr int niacin = 30;
inline constexpr int niacinEquivalents = 31;
inline constexpr int vitaminB6 = 32;
inline constexpr int vitaminB12 = 33;
inline constexpr int calcium = 34;
inline constexpr int phosphorus = 35;
inline constexpr int iron = 36;
inline constexpr int magnesium = 37;
inline constexpr int sodium = 38;
inline constexpr int potassium = 39;
inline constexpr int zinc = 40;
inline constexpr int saturated = 41;
inline constexpr int monounsaturated = 42;
inline constexpr int polyunsaturated = 43;
inline constexpr int cholesterol = 44;
inline constexpr int monosaccharides = 45;
inline constexpr int disaccharides = 46;
inline constexpr int sucrose = 47;
inline constexpr int fibre = 48;
inline constexpr int alcohol = 49;
inline constexpr int fa4to10 = 50;
inline constexpr int fa12 = 51;
inline constexpr int fa14 = 52;
inline constexpr int fa16 = 53;
inline constexpr int fa18 = 54;
inline constexpr int fa20 = 55;
inline constexpr int fa16_1 = 56;
inline constexpr int fa18_1 = 57;
inline constexpr int fa18_2 = 58;
inline constexpr int fa18_3 = 59;
inline constexpr int fa20_4 = 60;
inline constexpr int fa20_5 = 61;
inline constexpr int fa22_5 = 62;
inline constexpr int fa22_6 = 63;
inline constexpr int folate = 64;
inline constexpr int selenium = 65;
inline constexpr int firstAminoAcid = 66;
inline constexpr int lastAminoAcid = 83;
inline constexpr int extra1 = 84;
inline constexpr int extra2 = 85;
inline constexpr int extra3 = 86;
}  // namespace slot

// Field names of slot 15..86 in the national naming (nalvex100, nalvex2005, egna, the norm tables).
std::string_view NutrientFieldName(int slot);
// Field names in the second naming of the manufacturers' table and the product database.
std::string_view NutrientFieldNameSecondNaming(int slot);
// Check-box caption of the nutrient selection window; empty for ash, which cannot be chosen.
std::string_view NutrientCaption(int slot);
// Unit of the field name (kJ, kcal, g, mg, µg); empty for the reserve slots.
std::string_view NutrientUnit(int slot);

// Display texts of one slot, read from the nutrient names file.
struct NutrientTextEntry {
    std::string shortName;  // capacity 12
    std::string unit;       // capacity 2
    std::string label;      // capacity 12: name, blank, unit
    int decimals = 0;
};

class NutrientText {
public:
    const NutrientTextEntry& operator[](int slot) const { return m_entries[static_cast<std::size_t>(SlotIndex(slot))]; }
    NutrientTextEntry& operator[](int slot) { return m_entries[static_cast<std::size_t>(SlotIndex(slot))]; }
    void Clear() { m_entries = {}; }

private:
    std::array<NutrientTextEntry, kNutrientCount> m_entries{};
};

// Which nutrients the result views count; flags by slot 0..86, only 15..86 used.
class NutrientSelection {
public:
    NutrientSelection() { m_flags.fill(true); }
    bool IsSelected(int slot) const { return IsNutrientSlot(slot) && m_flags[static_cast<std::size_t>(slot)]; }
    void Set(int slot, bool selected)
    {
        if (IsNutrientSlot(slot)) m_flags[static_cast<std::size_t>(slot)] = selected;
    }
    int SelectedCount() const;

private:
    std::array<bool, kLastNutrientSlot + 1> m_flags{};
};

// kJ per gram, multiplied by 100 as the energy sums use them (hundredths of a kilojoule).
struct EnergyFactors {
    static constexpr int protein = 1700;
    static constexpr int fat = 3700;
    static constexpr int carbohydrate = 1700;
    static constexpr int fibre = 800;
    static constexpr int sucrose = 1700;
    static constexpr int fattyAcid = 3700;
    static constexpr int alcoholOn = 2900;
    // The run-time alcohol factor: 2900 while "Räkna med Alkohol" is checked, else 0.
    int alcohol = alcoholOn;

    void SetCountAlcohol(bool count) { alcohol = count ? alcoholOn : 0; }
    bool CountsAlcohol() const { return alcohol != 0; }
};

inline constexpr float kKcalToKj = 4.184f;
inline constexpr float kKjToKcal = 0.239f;

}  // namespace velmora

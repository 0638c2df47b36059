#include "core/nutrients.h"

#include <algorithm>

namespace velmora {
namespace {

struct SlotNames {
    std::string_view field;
    std::string_view secondField;  // empty: same as field
    std::string_view unit;
    std::string_view caption;
};

// Slot 15 first.
constexpr std::array<SlotNames, kNutrientCount> kSlots{{
    {"Energi _kJ_ _kJ_", "kj", "kJ", "kJ"},
    {"Energi _kcal_ _kcal_", "kcal", "kcal", "kcal"},
    {"Vatten _g_", "vatten g", "g", "vatten g"},
    {"Aska _g_", "aska g", "g", ""},
    {"Protein _g_", "prot g", "g", "prot g"},
    {"Fett _g_", "fett g", "g", "fett g"},
    {"Kolhydrater _g_", "kolhydrat g", "g", "kolhydrater g"},
    {"Retinol _mcg_", "Retinol ug", "µg", "retinol ug"},
    {"Karoten _mcg_", "Karoten ug", "µg", "karoten ug"},
    {"Retinolekv _mcg_", "Retinolekv ug", "µg", "retinol ekv ug"},
    {"D vitamin _mcg_", "D vitamin ug", "µg", "D-vit ug"},
    {"a-Tokoferol _mg_", "a-Tokoferol mg", "mg", "tokoferol mg"},
    {"Tiamin _mg_", "Tiamin mg", "mg", "tiamin mg"},
    {"Askorbinsyra _mg_", "Askorbinsyra mg", "mg", "C-vit mg"},
    {"Riboflavin _mg_", "Riboflavin mg", "mg", "riboflavin mg"},
    {"Niacin _mg_", "Niacin mg", "mg", "niacin mg"},
    {"Niacinekv _mg_", "Niacinekv mg", "mg", "niacin ekv mg"},
    {"Vitamin B6 _mg_", "Vitamin B6 mg", "mg", "B6 mg"},
    {"Vitamin B12 _mcg_", "Vitamin B12 ug", "µg", "B12 ug"},
    {"Kalcium _mg_", "Kalcium mg", "mg", "kalcium mg"},
    {"Fosfor _mg_", "Fosfor mg", "mg", "fosf mg"},
    {"Järn _mg_", "Järn mg", "mg", "järn mg"},
    {"Magnesium _mg_", "Magnesium mg", "mg", "magnesium mg"},
    {"Natrium _mg_", "Natrium mg", "mg", "natrium mg"},
    {"Kalium _mg_", "Kalium mg", "mg", "kalium mg"},
    {"Zink _mg_", "Zink mg", "mg", "zink mg"},
    {"Mättade fettsyror _g_", "Mättade fettsyror g", "g", "fett mättat g"},
    {"Enkelomättade fettsyror _", "Enkelomättade fettsyror g", "g", "fett enkelomättat g"},
    {"Fleromättade fettsyror _g", "Fleromättade fettsyror g", "g", "fett fleromättat g"},
    {"Kolesterol _mg_", "Kolesterol mg", "mg", "kolesterol mg"},
    {"Monosackarider _g_", "Monosackarider g", "g", "monosackarider g"},
    {"Disackarider _g_", "Disackarider g", "g", "disackarider g"},
    {"Sackaros _g_", "Sackaros g", "g", "sackaros g"},
    {"Fibrer _g_", "Fibrer g", "g", "fiber g"},
    {"Alkohol _g_", "Alkohol g", "g", "alkohol g"},
    {"Fettsyra C4-C10 _g_", "Fettsyra C4-C10 g", "g", "F4:0, smörsyra g"},
    {"Fettsyra C12:0 _g_", "Fettsyra C12:0 g", "g", "F120, laurinsyra g"},
    {"Fettsyra C14:0 _g_", "Fettsyra C14:0 g", "g", "F140, myristinsyra g"},
    {"Fettsyra C16:0 _g_", "Fettsyra C16:0 g", "g", "F160, palmitinsyra g"},
    {"Fettsyra C18:0 _g_", "Fettsyra C18:0 g", "g", "F180, stearinsyra g"},
    {"Fettsyra C20:0 _g_", "Fettsyra C20:0 g", "g", "F200, arakidinsyra g"},
    {"Fettsyra C16:1 _g_", "Fettsyra C16:1 g", "g", "F161, palmitoljesyra g"},
    {"Fettsyra C18:1 _g_", "Fettsyra C18:1 g", "g", "F181, oljesyra g"},
    {"Fettsyra C18:2 _g_", "Fettsyra C18:2 g", "g", "F182, linolsyra g"},
    {"Fettsyra C18:3 _g_", "Fettsyra C18:3 g", "g", "F183, linolensyra g"},
    {"Fettsyra C20:4 _g_", "Fettsyra C20:4 g", "g", "F204, arakidonsyra g"},
    {"Fettsyra C20:5 _g_", "Fettsyra C20:5 g", "g", "F205, eikosapentaensyra g"},
    {"Fettsyra C22:5 _g_", "Fettsyra C22:5 g", "g", "F225, dokosapentaensyra g"},
    {"Fettsyra C22:6 _g_", "Fettsyra C22:6 g", "g", "F226, dekosahexaensyra"},
    {"Folat _mcg_", "Folat ug", "µg", "folacin ug"},
    {"Selen _mcg_", "Selen ug", "µg", "selen ug"},
    {"ILE_mg", "", "mg", "ILE mg"},
    {"LEU_mg", "", "mg", "LEU mg"},
    {"LYS_mg", "", "mg", "LYS mg"},
    {"MET_mg", "", "mg", "MET mg"},
    {"CYS_mg", "", "mg", "CYS mg"},
    {"PHE_mg", "", "mg", "PHE mg"},
    {"TYR_mg", "", "mg", "TYR mg"},
    {"THR_mg", "", "mg", "THR mg"},
    {"TRP_mg", "", "mg", "TRP mg"},
    {"VAL_mg", "", "mg", "VAL mg"},
    {"ARG_mg", "", "mg", "ARG mg"},
    {"HIS_mg", "", "mg", "HIS mg"},
    {"ALA_mg", "", "mg", "ALA mg"},
    {"ASP_mg", "", "mg", "ASP mg"},
    {"GLU_mg", "", "mg", "GLU mg"},
    {"GLY_mg", "", "mg", "GLY mg"},
    {"PRO_mg", "", "mg", "PRO mg"},
    {"SER_mg", "", "mg", "SER mg"},
    {"extra1", "", "", "Reserv 1"},
    {"extra2", "", "", "Reserv 2"},
    {"extra3", "", "", "Reserv 3"},
}};

const SlotNames& Names(int slot) { return kSlots.at(static_cast<std::size_t>(SlotIndex(slot))); }

}  // namespace

std::string_view NutrientFieldName(int slot) { return Names(slot).field; }

std::string_view NutrientFieldNameSecondNaming(int slot)
{
    const SlotNames& names = Names(slot);
    return names.secondField.empty() ? names.field : names.secondField;
}

std::string_view NutrientCaption(int slot) { return Names(slot).caption; }
std::string_view NutrientUnit(int slot) { return Names(slot).unit; }

int NutrientSelection::SelectedCount() const
{
    return static_cast<int>(std::count(m_flags.begin() + kFirstNutrientSlot, m_flags.end(), true));
}

}  // namespace velmora

#include "core/workspace.h"

#include <cstring>

#include "core/text.h"
#include "platform/textfile.h"

namespace velmora {
namespace {

void PutString(MealRowImage& image, std::size_t offset, std::size_t capacity, const std::string& text)
{
    std::string bytes = EncodeWindows1252(CutToCapacity(text, capacity));
    if (bytes.size() > capacity) bytes.resize(capacity);
    image[offset] = static_cast<std::uint8_t>(bytes.size());
    std::memcpy(image.data() + offset + 1, bytes.data(), bytes.size());
}

std::string GetString(std::span<const std::uint8_t, kMealRowImageSize> image, std::size_t offset, std::size_t capacity)
{
    std::size_t length = std::min<std::size_t>(image[offset], capacity);
    return DecodeWindows1252(std::string_view(reinterpret_cast<const char*>(image.data() + offset + 1), length));
}

template <typename T>
void PutNumber(MealRowImage& image, std::size_t offset, T value)
{
    static_assert(sizeof(T) == 4);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    for (int i = 0; i < 4; ++i) image[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits >> (8 * i));
}

template <typename T>
T GetNumber(std::span<const std::uint8_t, kMealRowImageSize> image, std::size_t offset)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(image[offset + static_cast<std::size_t>(i)]) << (8 * i);
    T value;
    std::memcpy(&value, &bits, 4);
    return value;
}

constexpr std::size_t kExtraNameOffsets[4] = {184, 208, 232, 256};

}  // namespace

void MealRow::Clear()
{
    // Called for every row of the workspace on each new calculation: no temporaries.
    if (code.size() != 1 || code[0] != '0') code.assign(1, '0');
    name.clear();
    unit.clear();
    unitWeight = 0;
    for (ExtraUnit& extra : extraUnits) {
        extra.name.clear();
        extra.weight = 0;
    }
    grams = 0;
    pricePerKg = 0;
    wastePercent = 0;
    note.clear();
    timeText.clear();
    timeSlot = 96;
    nutrients.fill(0.0f);
}

MealRowImage ToImage(const MealRow& row)
{
    MealRowImage image{};
    PutString(image, 0, 81, row.code);
    PutString(image, 82, 80, row.name);
    PutString(image, 163, 16, row.unit);
    PutNumber(image, 180, row.unitWeight);
    for (std::size_t k = 0; k < 4; ++k) {
        PutString(image, kExtraNameOffsets[k], 16, row.extraUnits[k].name);
        PutNumber(image, kExtraNameOffsets[k] + 20, row.extraUnits[k].weight);
    }
    PutNumber(image, 280, row.grams);
    PutNumber(image, 284, row.pricePerKg);
    PutNumber(image, 288, row.wastePercent);
    PutString(image, 292, 20, row.note);
    PutString(image, 313, 5, row.timeText);
    PutNumber(image, 320, row.timeSlot);
    for (std::size_t i = 0; i < row.nutrients.size(); ++i) PutNumber(image, 324 + 4 * i, row.nutrients[i]);
    return image;
}

MealRow FromImage(std::span<const std::uint8_t, kMealRowImageSize> image)
{
    MealRow row;
    row.code = GetString(image, 0, 81);
    row.name = GetString(image, 82, 80);
    row.unit = GetString(image, 163, 16);
    row.unitWeight = GetNumber<float>(image, 180);
    for (std::size_t k = 0; k < 4; ++k) {
        row.extraUnits[k].name = GetString(image, kExtraNameOffsets[k], 16);
        row.extraUnits[k].weight = GetNumber<float>(image, kExtraNameOffsets[k] + 20);
    }
    row.grams = GetNumber<float>(image, 280);
    row.pricePerKg = GetNumber<float>(image, 284);
    row.wastePercent = GetNumber<float>(image, 288);
    row.note = GetString(image, 292, 20);
    row.timeText = GetString(image, 313, 5);
    row.timeSlot = GetNumber<std::int32_t>(image, 320);
    // A slot outside the day would index past the quarter-hour totals.
    if (row.timeSlot < 0 || row.timeSlot > 96) row.timeSlot = 96;
    for (std::size_t i = 0; i < row.nutrients.size(); ++i) row.nutrients[i] = GetNumber<float>(image, 324 + 4 * i);
    return row;
}

DietCalculation::DietCalculation()
{
    dayIncluded.fill(true);
    ResetDayNames();
}

int DietCalculation::FirstEmptyRow(int day, int meal) const
{
    const Meal& rows = (*days)[day][meal];
    for (int r = 1; r <= kLastRow; ++r) {
        if (rows[r].IsEmpty()) return r;
    }
    return kLastRow;
}

void DietCalculation::ClearRows()
{
    for (Day& day : *days) {
        for (Meal& meal : day) {
            for (MealRow& row : meal) row.Clear();
        }
    }
}

void DietCalculation::ResetDayNames()
{
    for (int d = 0; d < kDays; ++d) dayNames[d] = "Dag " + std::to_string(d + 1);
}

void FillRowFromFood(MealRow& row, const FoodRecord& food)
{
    AssignShort(row.code, food.code, 81);
    AssignShort(row.name, food.name, 80);
    AssignShort(row.unit, food.unit, 16);
    row.unitWeight = food.unitWeight;
    row.grams = food.unitWeight;
    row.pricePerKg = food.pricePerKg;
    row.extraUnits = food.extraUnits;
    row.wastePercent = food.wastePercent;
    AssignShort(row.note, food.note, 20);
    row.nutrients = food.nutrients;
}

}  // namespace velmora

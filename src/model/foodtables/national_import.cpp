#include "foodtables/national_import.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <system_error>

namespace velmora {

namespace {

constexpr std::string_view kNameHeading = "Livsmedelsnamn";
constexpr std::string_view kCodeHeading = "Livsmedelsnummer";

enum class Field { Name, Code, Group, Waste, Nutrient };
constexpr std::size_t kTextFieldCount = 4;  // the fields before Nutrient

struct HeadingTarget {
    std::string_view heading;
    Field field;
    int slot = 0;
};

constexpr HeadingTarget Nutrient(std::string_view heading, int slot)
{
    return {heading, Field::Nutrient, slot};
}

// The export's headings. Total, added and free sugars and salt have no slot (salt is computed from
// sodium), so they are reported as ignored like any unknown heading. A few entries are the shorter
// names without element symbols or qualifiers, so that an edition naming them so still imports.
constexpr HeadingTarget kHeadings[] = {
    {kNameHeading, Field::Name},
    {kCodeHeading, Field::Code},
    {"Gruppering", Field::Group},
    {"Avfall (skal etc.) (%)", Field::Waste},
    Nutrient("Energi (kJ)", slot::kJ),
    Nutrient("Energi (kcal)", slot::kcal),
    Nutrient("Vatten (g)", slot::water),
    Nutrient("Aska (g)", slot::ash),
    Nutrient("Protein (g)", slot::protein),
    Nutrient("Fett, totalt (g)", slot::fat),
    Nutrient("Fett (g)", slot::fat),
    Nutrient("Kolhydrater, tillgängliga (g)", slot::carbohydrate),
    Nutrient("Kolhydrater (g)", slot::carbohydrate),
    Nutrient("Retinol (µg)", slot::retinol),
    Nutrient("Betakaroten/β-Karoten (µg)", slot::carotene),
    Nutrient("Betakaroten (µg)", slot::carotene),
    Nutrient("Vitamin A (RE/µg)", slot::retinolEquivalents),
    Nutrient("Vitamin D (µg)", slot::vitaminD),
    Nutrient("Vitamin E (mg)", slot::vitaminE),
    Nutrient("Tiamin (mg)", slot::thiamin),
    Nutrient("Vitamin C (mg)", slot::vitaminC),
    Nutrient("Riboflavin (mg)", slot::riboflavin),
    Nutrient("Niacin (mg)", slot::niacin),
    Nutrient("Niacinekvivalenter (NE/mg)", slot::niacinEquivalents),
    Nutrient("Niacinekvivalenter (mg)", slot::niacinEquivalents),
    Nutrient("Vitamin B6 (mg)", slot::vitaminB6),
    Nutrient("Vitamin B12 (µg)", slot::vitaminB12),
    Nutrient("Kalcium, Ca (mg)", slot::calcium),
    Nutrient("Kalcium (mg)", slot::calcium),
    Nutrient("Fosfor, P (mg)", slot::phosphorus),
    Nutrient("Fosfor (mg)", slot::phosphorus),
    Nutrient("Järn, Fe (mg)", slot::iron),
    Nutrient("Järn (mg)", slot::iron),
    Nutrient("Magnesium, Mg (mg)", slot::magnesium),
    Nutrient("Magnesium (mg)", slot::magnesium),
    Nutrient("Natrium, Na (mg)", slot::sodium),
    Nutrient("Natrium (mg)", slot::sodium),
    Nutrient("Kalium, K (mg)", slot::potassium),
    Nutrient("Kalium (mg)", slot::potassium),
    Nutrient("Zink, Zn (mg)", slot::zinc),
    Nutrient("Zink (mg)", slot::zinc),
    Nutrient("Summa mättade fettsyror (g)", slot::saturated),
    Nutrient("Summa enkelomättade fettsyror (g)", slot::monounsaturated),
    Nutrient("Summa fleromättade fettsyror (g)", slot::polyunsaturated),
    Nutrient("Kolesterol (mg)", slot::cholesterol),
    Nutrient("Monosackarider (g)", slot::monosaccharides),
    Nutrient("Disackarider (g)", slot::disaccharides),
    Nutrient("Sackaros (g)", slot::sucrose),
    Nutrient("Fibrer (g)", slot::fibre),
    Nutrient("Alkohol (g)", slot::alcohol),
    // The export already gives the short-chain acids as one sum, which is what slot 50 holds.
    Nutrient("Fettsyra 4:0-10:0 (g)", slot::fa4to10),
    Nutrient("Laurinsyra C12:0 (g)", slot::fa12),
    Nutrient("Myristinsyra C14:0 (g)", slot::fa14),
    Nutrient("Palmitinsyra C16:0 (g)", slot::fa16),
    Nutrient("Stearinsyra C18:0 (g)", slot::fa18),
    Nutrient("Arakidinsyra C20:0 (g)", slot::fa20),
    Nutrient("Palmitoljesyra C16:1 (g)", slot::fa16_1),
    Nutrient("Oljesyra C18:1 (g)", slot::fa18_1),
    Nutrient("Linolsyra C18:2 (g)", slot::fa18_2),
    Nutrient("Linolensyra C18:3 (g)", slot::fa18_3),
    Nutrient("Arakidonsyra C20:4 (g)", slot::fa20_4),
    Nutrient("EPA (C20:5) (g)", slot::fa20_5),
    Nutrient("DPA (C22:5) (g)", slot::fa22_5),
    Nutrient("DHA (C22:6) (g)", slot::fa22_6),
    Nutrient("Folat (µg)", slot::folate),
    Nutrient("Selen, Se (µg)", slot::selenium),
    Nutrient("Selen (µg)", slot::selenium),
    // The reserve slots: iodine, vitamin K and whole grain.
    Nutrient("Jod, I (µg)", slot::extra1),
    Nutrient("Jod (µg)", slot::extra1),
    Nutrient("Vitamin K (µg)", slot::extra2),
    Nutrient("Fullkorn totalt (g)", slot::extra3),
    Nutrient("Fullkorn (g)", slot::extra3),
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Trims blanks including the no-break space that spreadsheet texts often carry.
std::string_view Trim(std::string_view text)
{
    for (;;) {
        if (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
        else if (text.starts_with("\xC2\xA0")) text.remove_prefix(2);
        else break;
    }
    for (;;) {
        if (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
        else if (text.ends_with("\xC2\xA0")) text.remove_suffix(2);
        else break;
    }
    return text;
}

// The form headings are compared in: trimmed, inner blanks collapsed, ASCII letters lowered and the
// Greek mu written as the micro sign, so that hand-edited or re-saved files still match.
std::string HeadingKey(std::string_view heading)
{
    heading = Trim(heading);
    std::string key;
    key.reserve(heading.size());
    bool blank = false;
    for (std::size_t i = 0; i < heading.size(); ++i) {
        char c = heading[i];
        if (heading.substr(i).starts_with("\xC2\xA0")) {
            c = ' ';
            ++i;
        }
        if (IsBlank(c)) {
            blank = true;
            continue;
        }
        if (blank) key += ' ';
        blank = false;
        if (heading.substr(i).starts_with("\xCE\xBC")) {
            key += "\xC2\xB5";
            ++i;
            continue;
        }
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

const HeadingTarget* FindTarget(std::string_view heading)
{
    const std::string key = HeadingKey(heading);
    for (const HeadingTarget& target : kHeadings)
        if (HeadingKey(target.heading) == key) return &target;
    return nullptr;
}

std::string_view CellAt(const std::vector<std::string>& row, std::optional<std::size_t> column)
{
    if (!column || *column >= row.size()) return {};
    return row[*column];
}

// A number with a decimal point or comma; nothing for an empty cell or, counted in `nonNumbers`, for
// any other text. Negative figures count as text too: they would read as the missing mark.
std::optional<float> Amount(std::string_view cell, int& nonNumbers)
{
    cell = Trim(cell);
    if (cell.empty()) return std::nullopt;
    std::string text(cell.substr(0, 64));
    std::replace(text.begin(), text.end(), ',', '.');
    const char* end = text.data() + text.size();
    float value = 0.0f;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (cell.size() > text.size() || error != std::errc{} || stop != end || !std::isfinite(value) ||
        value < 0.0f) {
        ++nonNumbers;
        return std::nullopt;
    }
    return value + 0.0f;  // -0 becomes 0
}

// The food number is text; a sheet that stored it as a decimal number ("12.0") gets the integer back.
std::string CodeText(std::string_view cell)
{
    cell = Trim(cell);
    const std::size_t point = cell.find('.');
    if (point != std::string_view::npos && point > 0) {
        const std::string_view whole = cell.substr(0, point);
        const std::string_view fraction = cell.substr(point + 1);
        const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
        if (std::all_of(whole.begin(), whole.end(), isDigit) &&
            std::all_of(fraction.begin(), fraction.end(), [](char c) { return c == '0'; }))
            return std::string(whole);
    }
    return std::string(cell);
}

// "Livsmedelsverkets livsmedelsdatabas version 2022-05-24" -> "2022-05-24". The edition is a date,
// so reading it from the lowered heading key loses nothing.
std::string EditionOf(const std::vector<std::vector<std::string>>& rows, std::size_t headingRow)
{
    constexpr std::string_view kMarker = "livsmedelsdatabas version ";
    for (std::size_t r = 0; r < headingRow; ++r) {
        for (const std::string& cell : rows[r]) {
            const std::string key = HeadingKey(cell);
            const std::size_t at = key.find(kMarker);
            if (at == std::string::npos) continue;
            const std::string_view rest = std::string_view(key).substr(at + kMarker.size());
            return std::string(rest.substr(0, rest.find(' ')));
        }
    }
    return {};
}

struct Columns {
    std::array<std::optional<std::size_t>, kTextFieldCount> fields;
    std::array<std::optional<std::size_t>, kNutrientCount> nutrients;

    std::optional<std::size_t>& operator[](Field field) { return fields[static_cast<std::size_t>(field)]; }
    std::optional<std::size_t>& Of(const HeadingTarget& target)
    {
        if (target.field == Field::Nutrient)
            return nutrients[static_cast<std::size_t>(SlotIndex(target.slot))];
        return (*this)[target.field];
    }
};

}  // namespace

Status ParseNationalExport(const XlsxSheet& sheet, NationalExport& out)
{
    out = NationalExport{};
    const std::vector<std::vector<std::string>>& rows = sheet.rows;

    const auto isNameHeading = [](const std::string& cell) {
        return HeadingKey(cell) == HeadingKey(kNameHeading);
    };
    const auto headingRow = std::find_if(rows.begin(), rows.end(), [&](const std::vector<std::string>& row) {
        return std::any_of(row.begin(), row.end(), isNameHeading);
    });
    if (headingRow == rows.end())
        return Status::Error(
            "Rubrikraden med kolumnen \"Livsmedelsnamn\" hittades inte. Filen ser inte ut att "
            "vara en export från Livsmedelsverkets livsmedelsdatabas.");
    const std::size_t headingIndex = static_cast<std::size_t>(headingRow - rows.begin());
    const int headingLine = static_cast<int>(headingIndex + 1);

    Columns columns;
    std::vector<std::string> ignoredKeys;
    const auto ignore = [&](std::string_view heading) {
        std::string key = HeadingKey(heading);
        if (std::find(ignoredKeys.begin(), ignoredKeys.end(), key) != ignoredKeys.end()) return;
        ignoredKeys.push_back(std::move(key));
        out.ignoredHeadings.emplace_back(Trim(heading));
    };
    for (std::size_t column = 0; column < headingRow->size(); ++column) {
        const std::string& heading = (*headingRow)[column];
        if (Trim(heading).empty()) continue;
        const HeadingTarget* target = FindTarget(heading);
        std::optional<std::size_t>* place = target ? &columns.Of(*target) : nullptr;
        // A second column for a place already taken is reported rather than overwriting the first.
        if (!place || place->has_value()) {
            ignore(heading);
            continue;
        }
        *place = column;
    }
    if (!columns[Field::Code]) {
        out = NationalExport{};
        return Status::Error("Kolumnen \"Livsmedelsnummer\" saknas i rubrikraden (rad " +
                                 std::to_string(headingLine) + "). Utan livsmedelsnummer kan inget läsas in.",
                             headingLine);
    }

    out.edition = EditionOf(rows, headingIndex);

    for (auto row = headingRow + 1; row != rows.end(); ++row) {
        ImportedFood food;
        food.code = CodeText(CellAt(*row, columns[Field::Code]));
        if (food.code.empty()) continue;
        food.name = std::string(Trim(CellAt(*row, columns[Field::Name])));
        food.group = std::string(Trim(CellAt(*row, columns[Field::Group])));
        food.wastePercent = Amount(CellAt(*row, columns[Field::Waste]), out.nonNumberCells);
        food.nutrients.fill(kMissingValue);
        for (std::size_t i = 0; i < columns.nutrients.size(); ++i) {
            if (const std::optional<float> value =
                    Amount(CellAt(*row, columns.nutrients[i]), out.nonNumberCells))
                food.nutrients[i] = *value;
        }
        out.foods.push_back(std::move(food));
    }
    return Status::Ok();
}

}  // namespace velmora

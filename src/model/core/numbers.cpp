#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace velmora {
namespace {

std::string_view DropLeadingBlanks(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    return text.substr(start);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// sign? digits* ('.' digits*)? ([eE] sign? digits+)?, with at least one mantissa digit.
bool IsDecimalNumber(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

bool ReadFloat(std::string normalized, float& value)
{
    if (!IsDecimalNumber(normalized)) return false;
    bool negative = false;
    std::size_t start = 0;
    if (normalized[0] == '+' || normalized[0] == '-') {
        negative = normalized[0] == '-';
        start = 1;
    }
    // from_chars wants a digit before the point.
    if (normalized[start] == '.') normalized.insert(start, 1, '0');
    float parsed = 0.0f;
    const char* first = normalized.data() + start;
    const char* last = normalized.data() + normalized.size();
    auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(parsed)) return false;
    value = negative ? -parsed : parsed;
    return true;
}

}  // namespace

bool TryParseDecimal(std::string_view text, float& value)
{
    std::string normalized(DropLeadingBlanks(text));
    if (auto comma = normalized.find(','); comma != std::string::npos) normalized[comma] = '.';
    return ReadFloat(std::move(normalized), value);
}

float ParseDecimal(std::string_view text)
{
    float value = 0.0f;
    return TryParseDecimal(text, value) ? value : 0.0f;
}

std::string FormatDecimal(std::string_view text)
{
    std::string result(DropLeadingBlanks(text));
    if (auto point = result.find('.'); point != std::string::npos) result[point] = ',';
    return result;
}

std::string FormatFixed(double value, int width, int decimals)
{
    if (!std::isfinite(value)) value = 0.0;
    if (decimals < 0) decimals = 0;
    if (decimals > 9) decimals = 9;
    if (width < 0) width = 0;
    // Halves round away from zero, on the decimal value the user sees (12.35 gives 12.4).
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (std::fabs(scaled) < 1e15) value = std::round(scaled) / scale;
    char buffer[400];
    int written = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer, written > 0 ? static_cast<std::size_t>(written) : 0);
    // A value that rounds to zero is shown without a sign.
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

int ParseTimeSlot(std::string_view text)
{
    std::string normalized(DropLeadingBlanks(text));
    if (auto comma = normalized.find(','); comma != std::string::npos) {
        normalized[comma] = '.';
    } else if (auto colon = normalized.find(':'); colon != std::string::npos) {
        normalized[colon] = '.';
    }
    float x = 0.0f;
    if (!ReadFloat(normalized, x) || x < 0.0f) return kNoTimeSlot;

    int hour = x >= 24.0f ? 0 : static_cast<int>(x);
    int minutes = 0;
    if (auto point = normalized.find('.'); point != std::string::npos) {
        std::size_t i = point + 1;
        if (i < normalized.size() && IsDigit(normalized[i])) {
            minutes = (normalized[i] - '0') * 10;
            if (i + 1 < normalized.size() && IsDigit(normalized[i + 1])) minutes += normalized[i + 1] - '0';
        }
    }
    int quarter = 0;
    if (minutes >= 15 && minutes < 30) quarter = 1;
    else if (minutes >= 30 && minutes < 45) quarter = 2;
    else if (minutes >= 45 && minutes < 60) quarter = 3;
    return 4 * hour + quarter;
}

std::string FloatText(float value)
{
    if (!std::isfinite(value)) return "0";
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) return "0";
    return std::string(buffer, end);
}

}  // namespace velmora

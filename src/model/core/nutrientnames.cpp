#include "core/nutrientnames.h"

#include "core/text.h"
#include "platform/textfile.h"

namespace velmora {

Status ReadNutrientNameLine(std::string_view line, NutrientText& text)
{
    if (!line.empty() && line[0] == '*') return Status::Ok();
    std::string_view number = line.substr(0, 2);
    while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
    if (number.empty()) return Status::Error(std::string(kNutrientNamesError));
    int slot = 0;
    for (char c : number) {
        if (c < '0' || c > '9') return Status::Error(std::string(kNutrientNamesError));
        slot = slot * 10 + (c - '0');
    }
    if (!IsNutrientSlot(slot)) return Status::Ok();

    std::string_view rest = line.size() > 3 ? line.substr(3) : std::string_view();
    const std::size_t blank = rest.find(' ');
    const std::size_t comma = rest.find(',');
    NutrientTextEntry entry;
    entry.shortName = CutToCapacity(rest.substr(0, blank), 12);
    if (blank != std::string_view::npos) {
        std::string_view afterBlank = rest.substr(blank + 1);
        entry.unit = CutToCapacity(afterBlank.substr(0, afterBlank.find(',')), 2);
    }
    entry.label = CutToCapacity(rest.substr(0, comma), 12);
    if (comma != std::string_view::npos && comma + 1 < rest.size()) {
        char digit = rest[comma + 1];
        entry.decimals = digit >= '0' && digit <= '9' ? digit - '0' : 0;
    }
    text[slot] = std::move(entry);
    return Status::Ok();
}

Status ReadNutrientNameLines(const std::vector<std::string>& lines, NutrientText& text)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Status status = ReadNutrientNameLine(lines[i], text); !status) {
            status.line = static_cast<int>(i) + 1;
            return status;
        }
    }
    return Status::Ok();
}

Status ReadNutrientNames(const std::filesystem::path& path, NutrientText& text)
{
    std::vector<std::string> lines;
    TextReadOptions options;
    options.dosCodePage = true;
    if (Status status = ReadTextLines(path, lines, options); !status) {
        return Status::Error(std::string(kNutrientNamesError));
    }
    return ReadNutrientNameLines(lines, text);
}

}  // namespace velmora

#include "foodtables/xlsx_reader.h"

#include <zip.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include <pugixml.hpp>

namespace velmora {

namespace {

// Limits that keep a hostile file from exhausting memory. Rows and columns are the format's own
// maxima; the cell bound counts the empty cells that gaps in cell references make us allocate.
constexpr zip_uint64_t kMaxPartBytes = 256u * 1024u * 1024u;
constexpr unsigned kMaxRows = 1'048'576;
constexpr unsigned kMaxColumns = 16'384;
constexpr std::size_t kMaxCells = 5'000'000;

constexpr const char* kWorkbookPart = "xl/workbook.xml";
constexpr const char* kWorkbookRelsPart = "xl/_rels/workbook.xml.rels";
constexpr const char* kDefaultSheetPart = "xl/worksheets/sheet1.xml";
constexpr const char* kDefaultSharedStringsPart = "xl/sharedStrings.xml";

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

std::string Shown(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

Status NotWorkbook(const std::filesystem::path& file)
{
    return Status::Error("Filen " + Shown(file) + " är inte en Excel-arbetsbok (xlsx).");
}

Status Damaged(const std::filesystem::path& file, std::string_view detail, int line = 0)
{
    const std::string what = "Filen " + Shown(file) + " är skadad eller ofullständig";
    return Status::Error(what + " och kan inte läsas som Excel-arbetsbok (" + std::string(detail) + ").",
                         line);
}

Status TooLarge(const std::filesystem::path& file)
{
    return Status::Error("Filen " + Shown(file) + " är för stor för att läsas in.");
}

// A zip archive starts with a local file header; a file that does but that libzip cannot open
// has lost its end (a cut-off download) rather than being some other kind of file.
bool StartsLikeZip(const std::filesystem::path& file)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.c_str(), "rb"), &std::fclose);
    if (!stream) return false;
    std::array<unsigned char, 4> magic{};
    if (std::fread(magic.data(), 1, magic.size(), stream.get()) != magic.size()) return false;
    return magic[0] == 'P' && magic[1] == 'K' && magic[2] == 3 && magic[3] == 4;
}

Status OpenArchive(const std::filesystem::path& file, Archive& archive)
{
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return Status::Error("Filen " + Shown(file) + " finns inte.");
    if (!std::filesystem::is_regular_file(file, error)) return NotWorkbook(file);

    int code = 0;
    archive.reset(zip_open(file.c_str(), ZIP_RDONLY, &code));
    if (archive) return Status::Ok();
    switch (code) {
    case ZIP_ER_NOZIP:
    case ZIP_ER_INCONS:
        return StartsLikeZip(file) ? Damaged(file, "zip-arkivet är avkortat eller trasigt")
                                   : NotWorkbook(file);
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        if (StartsLikeZip(file)) return Damaged(file, "zip-arkivet är avkortat eller trasigt");
        return Status::Error("Filen " + Shown(file) + " kunde inte läsas.");
    case ZIP_ER_MEMORY:
        return TooLarge(file);
    default:
        return Status::Error("Filen " + Shown(file) + " kunde inte öppnas.");
    }
}

// Reads one archive member. A member that does not exist is not an error here: `found` tells.
Status ReadPart(zip_t* archive, const std::filesystem::path& file, const std::string& part, bool& found,
                std::string& data)
{
    found = false;
    data.clear();
    const zip_int64_t index = zip_name_locate(archive, part.c_str(), ZIP_FL_NOCASE);
    if (index < 0) return Status::Ok();
    found = true;

    zip_stat_t info;
    zip_stat_init(&info);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &info) != 0)
        return Damaged(file, "delen " + part + " saknas i arkivets innehållsförteckning");
    if ((info.valid & ZIP_STAT_SIZE) && info.size > kMaxPartBytes) return TooLarge(file);

    Entry entry(zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0));
    if (!entry) {
        const int code = zip_error_code_zip(zip_get_error(archive));
        if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP)
            return Status::Error("Filen " + Shown(file) + " är lösenordsskyddad och kan inte läsas.");
        if (code == ZIP_ER_COMPNOTSUPP)
            return Status::Error("Filen " + Shown(file) + " är packad på ett sätt som inte stöds.");
        return Damaged(file, "delen " + part + " går inte att packa upp");
    }
    // The stored size is only a hint: the data itself decides, and the limit holds either way.
    if (info.valid & ZIP_STAT_SIZE) data.reserve(static_cast<std::size_t>(info.size));
    std::array<char, 64 * 1024> buffer;
    for (;;) {
        const zip_int64_t count = zip_fread(entry.get(), buffer.data(), buffer.size());
        if (count < 0) return Damaged(file, "delen " + part + " går inte att packa upp");
        if (count == 0) break;
        if (data.size() + static_cast<std::size_t>(count) > kMaxPartBytes) return TooLarge(file);
        data.append(buffer.data(), static_cast<std::size_t>(count));
    }
    return Status::Ok();
}

// Parses in place: `data` must outlive `document`.
Status ParseXml(std::string& data, const std::filesystem::path& file, const std::string& part,
                pugi::xml_document& document)
{
    // Keeping whitespace-only text matters for cells holding only blanks (xml:space="preserve").
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result result =
        document.load_buffer_inplace(data.data(), data.size(), options, pugi::encoding_auto);
    if (!result) return Damaged(file, "delen " + part + " är inte giltig XML: " + result.description());
    return Status::Ok();
}

// Element and attribute names compared without their namespace prefix, since writers differ in
// whether they use the default namespace ("row") or a prefix ("x:row").
std::string_view LocalName(const char* name)
{
    std::string_view text(name);
    const std::size_t colon = text.rfind(':');
    return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

bool IsElement(const pugi::xml_node& node, std::string_view local)
{
    return node.type() == pugi::node_element && LocalName(node.name()) == local;
}

pugi::xml_node FirstChild(const pugi::xml_node& parent, std::string_view local)
{
    for (pugi::xml_node child : parent.children())
        if (IsElement(child, local)) return child;
    return {};
}

pugi::xml_attribute Attribute(const pugi::xml_node& node, std::string_view local)
{
    for (pugi::xml_attribute attribute : node.attributes())
        if (LocalName(attribute.name()) == local) return attribute;
    return {};
}

pugi::xml_node RootElement(const pugi::xml_document& document, std::string_view local)
{
    const pugi::xml_node root = document.document_element();
    return IsElement(root, local) ? root : pugi::xml_node{};
}

void AppendText(const pugi::xml_node& textElement, std::string& out)
{
    for (pugi::xml_node child : textElement.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) out += child.value();
}

// A string item is plain (<t>) or rich text (runs <r><t>); phonetic guides (<rPh>) are not part of
// the text a user sees.
std::string RichText(const pugi::xml_node& item)
{
    std::string text;
    for (pugi::xml_node child : item.children()) {
        if (IsElement(child, "t")) {
            AppendText(child, text);
        } else if (IsElement(child, "r")) {
            for (pugi::xml_node run : child.children())
                if (IsElement(run, "t")) AppendText(run, text);
        }
    }
    return text;
}

template <typename Number>
std::optional<Number> ParseUnsigned(std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// 1-based column of a cell reference such as "BI2336".
std::optional<unsigned> ReferenceColumn(std::string_view reference)
{
    unsigned column = 0;
    std::size_t letters = 0;
    while (letters < reference.size() && letters < 4) {
        char c = reference[letters];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') break;
        column = column * 26 + static_cast<unsigned>(c - 'A' + 1);
        ++letters;
    }
    if (letters == 0 || letters > 3) return std::nullopt;
    if (!ParseUnsigned<unsigned>(reference.substr(letters))) return std::nullopt;
    return column;
}

// Resolves a relationship target against the workbook's folder; absolute targets start at the
// package root. Returns an empty string for a target that climbs out of the package.
std::string ResolveTarget(std::string_view target)
{
    std::string joined =
        target.starts_with('/') ? std::string(target.substr(1)) : "xl/" + std::string(target);
    std::vector<std::string_view> segments;
    std::string_view rest(joined);
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view segment = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (segment.empty() || segment == ".") continue;
        if (segment == "..") {
            if (segments.empty()) return {};
            segments.pop_back();
            continue;
        }
        segments.push_back(segment);
    }
    std::string path;
    for (std::string_view segment : segments) {
        if (!path.empty()) path += '/';
        path += segment;
    }
    return path;
}

struct WorkbookParts {
    std::string sheet;
    std::string sharedStrings;
};

// Finds the first sheet of the workbook in its own order (which need not be sheet1.xml) and the
// shared string table. Leaves a part empty when the workbook does not say.
Status LocateParts(zip_t* archive, const std::filesystem::path& file, std::string& workbookXml,
                   WorkbookParts& parts)
{
    pugi::xml_document workbook;
    if (Status status = ParseXml(workbookXml, file, kWorkbookPart, workbook); !status) return status;
    const pugi::xml_node workbookRoot = RootElement(workbook, "workbook");
    if (!workbookRoot) return NotWorkbook(file);
    std::string sheetId;
    if (const pugi::xml_node sheet = FirstChild(FirstChild(workbookRoot, "sheets"), "sheet"))
        sheetId = Attribute(sheet, "id").value();

    bool found = false;
    std::string relsXml;
    if (Status status = ReadPart(archive, file, kWorkbookRelsPart, found, relsXml); !status) return status;
    if (!found) return Status::Ok();
    pugi::xml_document rels;
    if (Status status = ParseXml(relsXml, file, kWorkbookRelsPart, rels); !status) return status;
    for (pugi::xml_node relation : RootElement(rels, "Relationships").children()) {
        if (!IsElement(relation, "Relationship")) continue;
        if (std::string_view(Attribute(relation, "TargetMode").value()) == "External") continue;
        const std::string_view type = Attribute(relation, "Type").value();
        const std::string_view id = Attribute(relation, "Id").value();
        const std::string_view target = Attribute(relation, "Target").value();
        if (!sheetId.empty() && id == sheetId && parts.sheet.empty()) parts.sheet = ResolveTarget(target);
        if (type.ends_with("/sharedStrings") && parts.sharedStrings.empty())
            parts.sharedStrings = ResolveTarget(target);
    }
    return Status::Ok();
}

Status ReadSharedStrings(zip_t* archive, const std::filesystem::path& file, const std::string& part,
                         std::vector<std::string>& strings)
{
    bool found = false;
    std::string xml;
    if (Status status = ReadPart(archive, file, part, found, xml); !status) return status;
    if (!found) return Status::Ok();
    pugi::xml_document document;
    if (Status status = ParseXml(xml, file, part, document); !status) return status;
    for (pugi::xml_node item : RootElement(document, "sst").children())
        if (IsElement(item, "si")) strings.push_back(RichText(item));
    return Status::Ok();
}

Status ReadCells(const pugi::xml_node& worksheet, const std::vector<std::string>& sharedStrings,
                 const std::filesystem::path& file, XlsxSheet& out)
{
    std::size_t cellCount = 0;
    unsigned previousRow = 0;
    for (pugi::xml_node rowElement : FirstChild(worksheet, "sheetData").children()) {
        if (!IsElement(rowElement, "row")) continue;
        unsigned rowNumber = previousRow + 1;
        if (const pugi::xml_attribute number = Attribute(rowElement, "r")) {
            const std::optional<unsigned> parsed = ParseUnsigned<unsigned>(number.value());
            if (!parsed || *parsed <= previousRow)
                return Damaged(file, "felaktigt radnummer", static_cast<int>(previousRow + 1));
            rowNumber = *parsed;
        }
        if (rowNumber > kMaxRows) return Damaged(file, "för många rader", static_cast<int>(previousRow + 1));
        previousRow = rowNumber;
        const int line = static_cast<int>(rowNumber);

        unsigned previousColumn = 0;
        for (pugi::xml_node cell : rowElement.children()) {
            if (!IsElement(cell, "c")) continue;
            unsigned column = previousColumn + 1;
            if (const pugi::xml_attribute reference = Attribute(cell, "r")) {
                const std::optional<unsigned> parsed = ReferenceColumn(reference.value());
                if (!parsed || *parsed <= previousColumn) return Damaged(file, "felaktig cellreferens", line);
                column = *parsed;
            }
            if (column > kMaxColumns) return Damaged(file, "för många kolumner", line);
            previousColumn = column;

            const std::string_view type = Attribute(cell, "t").value();
            std::string text;
            if (type == "s") {
                const std::optional<std::size_t> index =
                    ParseUnsigned<std::size_t>(FirstChild(cell, "v").text().get());
                if (!index || *index >= sharedStrings.size())
                    return Damaged(file, "okänd textreferens", line);
                text = sharedStrings[*index];
            } else if (type == "inlineStr" && FirstChild(cell, "is")) {
                text = RichText(FirstChild(cell, "is"));
            } else {
                // Numbers, booleans, error values and formula results: the stored text as it is.
                AppendText(FirstChild(cell, "v"), text);
            }
            if (text.empty()) continue;

            if (out.rows.size() < rowNumber) out.rows.resize(rowNumber);
            std::vector<std::string>& row = out.rows[rowNumber - 1];
            cellCount += column - row.size();
            if (cellCount > kMaxCells) return TooLarge(file);
            row.resize(column);
            row[column - 1] = std::move(text);
        }
    }
    return Status::Ok();
}

Status ReadWorkbook(const std::filesystem::path& file, XlsxSheet& out)
{
    Archive archive;
    if (Status status = OpenArchive(file, archive); !status) return status;

    bool found = false;
    std::string workbookXml;
    if (Status status = ReadPart(archive.get(), file, kWorkbookPart, found, workbookXml); !status)
        return status;
    WorkbookParts parts;
    if (found) {
        if (Status status = LocateParts(archive.get(), file, workbookXml, parts); !status) return status;
    }
    const bool isWorkbook = found;

    std::string sheetXml;
    std::string sheetPart = parts.sheet.empty() ? kDefaultSheetPart : parts.sheet;
    if (Status status = ReadPart(archive.get(), file, sheetPart, found, sheetXml); !status) return status;
    if (!found && sheetPart != kDefaultSheetPart) {
        sheetPart = kDefaultSheetPart;
        if (Status status = ReadPart(archive.get(), file, sheetPart, found, sheetXml); !status) return status;
    }
    if (!found) {
        if (!isWorkbook) return NotWorkbook(file);
        return Status::Error("Excel-arbetsboken " + Shown(file) + " innehåller inget kalkylblad.");
    }

    std::vector<std::string> sharedStrings;
    const std::string stringsPart =
        parts.sharedStrings.empty() ? kDefaultSharedStringsPart : parts.sharedStrings;
    if (Status status = ReadSharedStrings(archive.get(), file, stringsPart, sharedStrings); !status)
        return status;

    pugi::xml_document sheet;
    if (Status status = ParseXml(sheetXml, file, sheetPart, sheet); !status) return status;
    const pugi::xml_node worksheet = RootElement(sheet, "worksheet");
    if (!worksheet)
        return Status::Error("Det första bladet i Excel-arbetsboken " + Shown(file) +
                             " är inget kalkylblad med celler.");
    return ReadCells(worksheet, sharedStrings, file, out);
}

}  // namespace

Status ReadFirstSheet(const std::filesystem::path& file, XlsxSheet& out)
{
    out.rows.clear();
    Status status = ReadWorkbook(file, out);
    if (!status) out.rows.clear();
    return status;
}

}  // namespace velmora

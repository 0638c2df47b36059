#pragma once

// Small Excel workbooks written by the tests themselves, so that each case shows its cells.

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::testing {

using Rows = std::vector<std::vector<std::string>>;

struct Part {
    std::string name;
    std::string content;
};

inline std::string Escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

inline std::string ColumnName(std::size_t column)
{
    std::string name;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), char('A' + (n - 1) % 26));
    return name;
}

inline bool LooksNumeric(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789.") == std::string::npos;
}

inline const std::string kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" )"
    R"(ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(</Types>)";

inline std::string WorkbookXml(const std::vector<std::pair<std::string, std::string>>& sheets)
{
    std::string xml =
        R"(<?xml version="1.0" encoding="UTF-8"?>)"
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)";
    int sheetId = 1;
    for (const auto& [name, relationId] : sheets)
        xml += "<sheet name=\"" + name + "\" sheetId=\"" + std::to_string(sheetId++) + "\" r:id=\"" +
               relationId + "\"/>";
    return xml + "</sheets></workbook>";
}

inline std::string RelsXml(const std::vector<std::pair<std::string, std::string>>& relations, bool withSharedStrings)
{
    std::string xml =
        R"(<?xml version="1.0" encoding="UTF-8"?>)"
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    for (const auto& [id, target] : relations)
        xml += "<Relationship Id=\"" + id +
               "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
               "Target=\"" +
               target + "\"/>";
    if (withSharedStrings)
        xml += R"(<Relationship Id="rIdS" Type="http://schemas.openxmlformats.org/officeDocument/2006/)"
               R"(relationships/sharedStrings" Target="sharedStrings.xml"/>)";
    return xml + "</Relationships>";
}

inline std::string SheetXml(const std::string& sheetData)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>)"
           R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" +
           sheetData + "</sheetData></worksheet>";
}

inline std::string SharedStringsXml(const std::vector<std::string>& items)
{
    std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>)"
                      R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
    for (const std::string& item : items)
        xml += item.starts_with("<si>") ? item : "<si><t>" + Escaped(item) + "</t></si>";
    return xml + "</sst>";
}

// The parts of a one-sheet workbook holding `rows`: texts as shared or inline strings, number-like
// cells as numbers, empty cells left out as spreadsheet programs do.
inline std::vector<Part> WorkbookParts(const Rows& rows, bool sharedStrings = true)
{
    std::vector<std::string> strings;
    std::string data;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        data += "<row r=\"" + std::to_string(r + 1) + "\">";
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& text = rows[r][c];
            if (text.empty()) continue;
            const std::string ref = ColumnName(c) + std::to_string(r + 1);
            if (LooksNumeric(text)) {
                data += "<c r=\"" + ref + "\"><v>" + text + "</v></c>";
            } else if (sharedStrings) {
                data += "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(strings.size()) + "</v></c>";
                strings.push_back(text);
            } else {
                data += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + Escaped(text) + "</t></is></c>";
            }
        }
        data += "</row>";
    }
    std::vector<Part> parts = {
        {"[Content_Types].xml", kContentTypes},
        {"xl/workbook.xml", WorkbookXml({{"Blad1", "rId1"}})},
        {"xl/_rels/workbook.xml.rels", RelsXml({{"rId1", "worksheets/sheet1.xml"}}, sharedStrings)},
        {"xl/worksheets/sheet1.xml", SheetXml(data)},
    };
    if (sharedStrings) parts.push_back({"xl/sharedStrings.xml", SharedStringsXml(strings)});
    return parts;
}

inline void WriteZip(const std::filesystem::path& file, const std::vector<Part>& parts)
{
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << "zip error " << error;
    for (const Part& part : parts) {
        zip_source_t* source = zip_source_buffer(archive, part.content.data(), part.content.size(), 0);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(archive, part.name.c_str(), source, ZIP_FL_ENC_UTF_8), 0)
            << zip_strerror(archive);
    }
    ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The national export's layout: title row, subtitle, headings, then one food per row.
inline Rows ExportRows(const std::vector<std::string>& headings, const Rows& foods)
{
    Rows rows = {{"Livsmedelsverkets livsmedelsdatabas version 2022-05-24"},
                 {"Näringsinnehåll per 100 gram livsmedel"},
                 headings};
    rows.insert(rows.end(), foods.begin(), foods.end());
    return rows;
}

// A one-sheet workbook holding `rows`.
inline void WriteWorkbook(const std::filesystem::path& file, const Rows& rows, bool sharedStrings = true)
{
    WriteZip(file, WorkbookParts(rows, sharedStrings));
}

}  // namespace velmora::testing

#include "cli/json.h"

#include <cmath>
#include <cstdio>

#include "core/numbers.h"

namespace velmora {

void JsonWriter::Separate()
{
    if (m_needComma) m_text += ',';
    m_needComma = false;
}

JsonWriter& JsonWriter::BeginObject()
{
    Separate();
    m_text += '{';
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    m_text += '}';
    m_needComma = true;
    return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
    Separate();
    m_text += '[';
    return *this;
}

JsonWriter& JsonWriter::EndArray()
{
    m_text += ']';
    m_needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key)
{
    String(key);
    m_text += ':';
    m_needComma = false;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view value)
{
    Separate();
    m_text += '"';
    for (char c : value) {
        switch (c) {
        case '"': m_text += "\\\""; break;
        case '\\': m_text += "\\\\"; break;
        case '\n': m_text += "\\n"; break;
        case '\r': m_text += "\\r"; break;
        case '\t': m_text += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                m_text += buffer;
            } else {
                m_text += c;
            }
        }
    }
    m_text += '"';
    m_needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Number(float value)
{
    Separate();
    m_text += FloatText(value);
    m_needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Number(double value)
{
    Separate();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", std::isfinite(value) ? value : 0.0);
    m_text += buffer;
    m_needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Integer(long long value)
{
    Separate();
    m_text += std::to_string(value);
    m_needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
    Separate();
    m_text += value ? "true" : "false";
    m_needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Floats(std::span<const float> values)
{
    BeginArray();
    for (float v : values) Number(v);
    return EndArray();
}

}  // namespace velmora

#pragma once

#include <span>
#include <string>
#include <string_view>

namespace velmora {

// A small JSON text builder: enough for the command line's documents, nothing more.
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view value);
    JsonWriter& Number(float value);
    JsonWriter& Number(double value);
    JsonWriter& Integer(long long value);
    JsonWriter& Bool(bool value);
    JsonWriter& Floats(std::span<const float> values);
    template <typename Int>
    JsonWriter& Integers(std::span<const Int> values)
    {
        BeginArray();
        for (Int v : values) Integer(static_cast<long long>(v));
        return EndArray();
    }
    const std::string& Text() const { return m_text; }

private:
    void Separate();
    std::string m_text;
    bool m_needComma = false;
};

}  // namespace velmora

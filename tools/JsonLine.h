// One JSON object on one line, for the collectors that read vantorctl's
// output (Telegraf, jq, a bridge to MQTT): texts are UTF-8 and escaped,
// numbers are JSON numbers, and a number JSON cannot hold is null.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor::ctl {

class JsonLine {
public:
    JsonLine& text(std::string_view key, std::string_view value);
    // A double that a float holds exactly is written as that float.
    JsonLine& number(std::string_view key, double value);
    JsonLine& number(std::string_view key, float value);  // its shortest exact text: 1.5, not 1.5000000
    JsonLine& integer(std::string_view key, int64_t value);
    JsonLine& boolean(std::string_view key, bool value);
    // A value already written as JSON: an object or an array of them.
    JsonLine& raw(std::string_view key, std::string_view json);

    // The object, without a line feed.
    std::string str() const { return "{" + m_body + "}"; }
    // Prints the object and a line feed, and flushes, so that a reader of a
    // pipe sees each poll when it happens.
    void print() const;

private:
    JsonLine& key(std::string_view name);
    std::string m_body;
};

// A JSON string: quoted, with quotes, backslashes and control characters escaped.
std::string jsonString(std::string_view text);

// The computer's date and time now, ISO 8601 with its offset from UTC.
std::string isoNow();

}  // namespace vantor::ctl

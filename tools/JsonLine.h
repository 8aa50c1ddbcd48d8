// One JSON object on one line, for the collectors that read vantorctl's
// output (Telegraf, jq, a bridge to MQTT): texts are UTF-8, numbers are JSON
// numbers, and a number JSON cannot hold is null.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor::ctl {

// Its keys stay in the order they were given, the order a reader sees them in.
using Json = nlohmann::ordered_json;

class JsonLine {
public:
    JsonLine& text(std::string_view key, std::string_view value);
    // A double that a float holds exactly is written as that float.
    JsonLine& number(std::string_view key, double value);
    JsonLine& number(std::string_view key, float value);  // its shortest exact text: 1.5, not 1.5000000
    JsonLine& integer(std::string_view key, int64_t value);
    JsonLine& boolean(std::string_view key, bool value);
    // An array or an object: a list of rows, of names, of numbers.
    JsonLine& set(std::string_view key, Json value);

    const Json& object() const { return m_object; }
    // The object, without a line feed.
    std::string str() const;
    // Prints the object and a line feed, and flushes, so that a reader of a
    // pipe sees each poll when it happens.
    void print() const;

private:
    Json m_object = Json::object();
};

// The computer's date and time now, ISO 8601 with its offset from UTC.
std::string isoNow();

}  // namespace vantor::ctl

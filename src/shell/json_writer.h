// A small streaming JSON writer for the tools' machine-readable output
// (--inspect, --check, --bench). Keys and values are written in call order;
// commas and indentation are handled here.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    JsonWriter& beginObject(std::string_view key = {});
    JsonWriter& endObject();
    JsonWriter& beginArray(std::string_view key = {});
    JsonWriter& endArray();

    JsonWriter& value(std::string_view key, std::string_view text);
    JsonWriter& value(std::string_view key, const char* text) { return value(key, std::string_view(text)); }
    JsonWriter& value(std::string_view key, double number);
    JsonWriter& value(std::string_view key, int64_t number);
    JsonWriter& value(std::string_view key, int number) { return value(key, static_cast<int64_t>(number)); }
    JsonWriter& value(std::string_view key, bool flag);
    // An array of numbers on one line.
    JsonWriter& numbers(std::string_view key, const float* values, int count);

    static std::string escape(std::string_view text);

private:
    void prefix(std::string_view key);
    void newline();

    std::ostream& out_;
    std::vector<bool> first_;  // per open container: nothing written yet
};

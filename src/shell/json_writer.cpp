#include "shell/json_writer.h"

#include <cmath>
#include <cstdio>

std::string JsonWriter::escape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c >= 0x7f) {
                    // Bytes outside printable ASCII (file names and text from
                    // untrusted files) are kept as \u00XX, one per byte.
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    return out;
}

void JsonWriter::newline() {
    out_ << '\n';
    for (size_t i = 0; i < first_.size(); ++i) out_ << "  ";
}

void JsonWriter::prefix(std::string_view key) {
    if (!first_.empty()) {
        if (!first_.back()) out_ << ',';
        first_.back() = false;
        newline();
    }
    if (!key.empty()) out_ << '"' << escape(key) << "\": ";
}

JsonWriter& JsonWriter::beginObject(std::string_view key) {
    prefix(key);
    out_ << '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    bool empty = first_.back();
    first_.pop_back();
    if (!empty) newline();
    out_ << '}';
    if (first_.empty()) out_ << '\n';
    return *this;
}

JsonWriter& JsonWriter::beginArray(std::string_view key) {
    prefix(key);
    out_ << '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    bool empty = first_.back();
    first_.pop_back();
    if (!empty) newline();
    out_ << ']';
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view key, std::string_view text) {
    prefix(key);
    out_ << '"' << escape(text) << '"';
    return *this;
}

static void writeNumber(std::ostream& out, double number) {
    if (!std::isfinite(number)) {
        out << "null";  // JSON has no NaN or infinity
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", number);
    out << buf;
}

JsonWriter& JsonWriter::value(std::string_view key, double number) {
    prefix(key);
    writeNumber(out_, number);
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view key, int64_t number) {
    prefix(key);
    out_ << number;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view key, bool flag) {
    prefix(key);
    out_ << (flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::numbers(std::string_view key, const float* values, int count) {
    prefix(key);
    out_ << '[';
    for (int i = 0; i < count; ++i) {
        if (i) out_ << ", ";
        writeNumber(out_, values[i]);
    }
    out_ << ']';
    return *this;
}

#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace q30x::cli {

// Writes one JSON value to a stream, pretty-printed with two-space indents.
// Keys and strings are UTF-8; bytes that are not valid UTF-8 (a damaged
// file's names) are written as U+FFFD so the output always parses.
//
//   JsonWriter json(out);
//   json.beginObject();
//   json.key("profile").value(3);
//   json.key("dpi").beginArray().value(800).value(1600).endArray();
//   json.endObject();
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    ~JsonWriter() {
        if (!written_) return;
        out_ << "\n";
    }

    JsonWriter& beginObject() { return open('{'); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginArray() { return open('['); }
    JsonWriter& endArray() { return close(']'); }

    JsonWriter& key(std::string_view name) {
        separate();
        writeString(name);
        out_ << ": ";
        afterKey_ = true;
        return *this;
    }

    JsonWriter& value(std::string_view text) {
        separate();
        writeString(text);
        return *this;
    }
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    JsonWriter& value(bool flag) {
        separate();
        out_ << (flag ? "true" : "false");
        return *this;
    }
    JsonWriter& value(int64_t number) {
        separate();
        out_ << number;
        return *this;
    }
    JsonWriter& value(int32_t number) { return value(static_cast<int64_t>(number)); }
    JsonWriter& value(uint32_t number) { return value(static_cast<int64_t>(number)); }
    JsonWriter& value(double number);
    JsonWriter& null() {
        separate();
        out_ << "null";
        return *this;
    }

private:
    struct Level {
        char closer;
        bool empty = true;
    };

    JsonWriter& open(char opener);
    JsonWriter& close(char closer);
    void separate();
    void newline();
    void writeString(std::string_view text);

    std::ostream& out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
    bool written_ = false;
};

}  // namespace q30x::cli

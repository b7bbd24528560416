#include "app/json_record.h"

#include <cmath>
#include <cstdio>

namespace bb {

static void separate(JsonRecord& r) {
    if (r.NeedsComma) r.Text += ',';
    r.NeedsComma = true;
}

static void append_quoted(std::string& out, const std::string& s) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

void json_key(JsonRecord& r, const char* key) {
    separate(r);
    if (key) {
        append_quoted(r.Text, key);
        r.Text += ':';
    }
}

void json_begin_object(JsonRecord& r, const char* key) {
    if (!r.Text.empty()) json_key(r, key);
    r.Text += '{';
    r.NeedsComma = false;
}

void json_end_object(JsonRecord& r) {
    r.Text += '}';
    r.NeedsComma = true;
}

void json_begin_array(JsonRecord& r, const char* key) {
    json_key(r, key);
    r.Text += '[';
    r.NeedsComma = false;
}

void json_end_array(JsonRecord& r) {
    r.Text += ']';
    r.NeedsComma = true;
}

void json_int(JsonRecord& r, const char* key, int64_t value) {
    json_key(r, key);
    r.Text += std::to_string(value);
}

void json_float(JsonRecord& r, const char* key, double value) {
    json_key(r, key);
    if (!std::isfinite(value)) {
        r.Text += "null";
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", value);
    r.Text += buf;
}

void json_bool(JsonRecord& r, const char* key, bool value) {
    json_key(r, key);
    r.Text += value ? "true" : "false";
}

void json_string(JsonRecord& r, const char* key, const std::string& value) {
    json_key(r, key);
    append_quoted(r.Text, value);
}

} // namespace bb

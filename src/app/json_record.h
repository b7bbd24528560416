// A small writer of one-line JSON objects, for the headless summary and the
// per-tick trace. Fields appear in the order they are added.
#pragma once

#include <cstdint>
#include <string>

namespace bb {

struct JsonRecord {
    std::string Text;
    bool NeedsComma = false;
};

// key names the field when the object is a field's value; null elsewhere.
void json_begin_object(JsonRecord& r, const char* key = nullptr);
void json_end_object(JsonRecord& r);
void json_begin_array(JsonRecord& r, const char* key); // key may be null inside an array
void json_end_array(JsonRecord& r);
void json_key(JsonRecord& r, const char* key);
void json_int(JsonRecord& r, const char* key, int64_t value);
void json_float(JsonRecord& r, const char* key, double value); // non-finite values become null
void json_bool(JsonRecord& r, const char* key, bool value);
void json_string(JsonRecord& r, const char* key, const std::string& value);

} // namespace bb

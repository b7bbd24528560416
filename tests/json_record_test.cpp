#include "app/json_record.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace bb;

TEST(JsonRecord, NestedFieldsInOrder) {
    JsonRecord r;
    json_begin_object(r);
    json_int(r, "ticks", 3);
    json_string(r, "text", "a\"b\\c\nd\x01");
    json_begin_array(r, "pos");
    json_float(r, nullptr, 1.5);
    json_float(r, nullptr, NAN);
    json_end_array(r);
    json_begin_array(r, "list");
    json_begin_object(r);
    json_bool(r, "ok", true);
    json_end_object(r);
    json_begin_object(r);
    json_end_object(r);
    json_end_array(r);
    json_begin_object(r, "inner");
    json_int(r, "n", -7);
    json_end_object(r);
    json_end_object(r);
    EXPECT_EQ(r.Text, "{\"ticks\":3,\"text\":\"a\\\"b\\\\c\\nd\\u0001\",\"pos\":[1.5,null],"
                      "\"list\":[{\"ok\":true},{}],\"inner\":{\"n\":-7}}");
}

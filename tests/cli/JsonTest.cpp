#include <gtest/gtest.h>

#include <limits>

#include "cli/Json.h"

namespace tiecalc {
namespace {

TEST(Json, StringsEscapeQuotesBackslashesAndControlsAndPassUtf8Through) {
  EXPECT_EQ(JsonString("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(JsonString("满足要求！\r\n附着杆"), "\"满足要求！\\r\\n附着杆\"");
  EXPECT_EQ(JsonString(std::string("\t\x01\x1f\b\f", 5)), R"("\t\u0001\u001f\b\f")");
  EXPECT_EQ(JsonString("θ/°"), "\"θ/°\"");
}

TEST(Json, ObjectsSortTheirKeysArraysKeepTheirOrder) {
  EXPECT_EQ(JsonObject({{"b", "1"}, {"a", "2"}, {"B", "3"}}), R"({"B": 3, "a": 2, "b": 1})");
  EXPECT_EQ(JsonObject({}), "{}");
  EXPECT_EQ(JsonArray({JsonString("z"), JsonString("a")}), R"(["z", "a"])");
  EXPECT_EQ(JsonArray({}), "[]");
}

TEST(Json, NumbersAsFifteenSignificantDigits) {
  EXPECT_EQ(JsonNumber(900.0), "900");
  EXPECT_EQ(JsonNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(JsonNumber(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "\"inf\"");
}

}  // namespace
}  // namespace tiecalc

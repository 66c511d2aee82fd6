#include <gtest/gtest.h>

#include <limits>

#include "cli/Json.h"

namespace tiecalc {
namespace {

std::string JsonString(const std::string& text) { return WriteJsonLine(JsonText(text)); }

TEST(Json, StringsEscapeQuotesBackslashesAndControlsAndPassUtf8Through) {
  EXPECT_EQ(JsonString("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(JsonString("满足要求！\r\n附着杆"), "\"满足要求！\\r\\n附着杆\"");
  EXPECT_EQ(JsonString(std::string("\t\x01\x1f\b\f", 5)), R"("\t\u0001\u001f\b\f")");
  EXPECT_EQ(JsonString("θ/°"), "\"θ/°\"");
  EXPECT_EQ(JsonString("\xF0\x9F\x98\x80"), "\"\xF0\x9F\x98\x80\"");  // four bytes, U+1F600
}

TEST(Json, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  // A field holds whatever was typed; the output must stay valid UTF-8.
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(JsonString("9\xFF" "0"), "\"9" + fffd + "0\"");
  EXPECT_EQ(JsonString("\xE6\xBB"), "\"" + fffd + fffd + "\"");        // cut short
  EXPECT_EQ(JsonString("\xC0\xAF"), "\"" + fffd + fffd + "\"");        // overlong "/"
  EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"" + fffd + fffd + fffd + "\"");  // a surrogate
  EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"" + fffd + fffd + fffd + fffd + "\"");  // above U+10FFFF
  EXPECT_EQ(JsonString("满\x80足"), "\"满" + fffd + "足\"");
}

TEST(Json, ObjectsSortTheirKeysArraysKeepTheirOrder) {
  EXPECT_EQ(WriteJsonLine({{"b", 1}, {"a", 2}, {"B", 3}}), R"({"B": 3, "a": 2, "b": 1})");
  EXPECT_EQ(WriteJsonLine(Json::object()), "{}");
  EXPECT_EQ(WriteJsonLine(Json::array({"z", "a"})), R"(["z", "a"])");
  EXPECT_EQ(WriteJsonLine(Json::array()), "[]");
  // Line breaks and number-like texts inside strings are the strings' own.
  EXPECT_EQ(WriteJsonLine({{"a", {{"x", "1.50,\n"}, {"y", Json::array({Json::object(), 0.5})}}}, {"b", Json::array()}}),
            R"({"a": {"x": "1.50,\n", "y": [{}, 0.5]}, "b": []})");
}

TEST(Json, NumbersAsFifteenSignificantDigits) {
  const auto number = [](double v) { return WriteJsonLine(JsonNumber(v)); };
  EXPECT_EQ(number(900.0), "900");
  EXPECT_EQ(number(0.1 + 0.2), "0.3");
  EXPECT_EQ(number(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(number(std::numeric_limits<double>::infinity()), "\"inf\"");
  // printf's %g, where the library's shortest digits differ.
  EXPECT_EQ(number(-0.0), "-0");
  EXPECT_EQ(number(0.00001), "1e-05");
  EXPECT_EQ(number(1e15), "1e+15");
  EXPECT_EQ(number(123456789012345.0), "123456789012345");
  EXPECT_EQ(number(9.69728693705784e+17), "9.69728693705784e+17");
  EXPECT_EQ(WriteJsonLine({{"value", JsonNumber(-2.5e-300)}}), R"({"value": -2.5e-300})");
}

}  // namespace
}  // namespace tiecalc

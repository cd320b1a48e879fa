#include "TomlFields.h"

#include <gtest/gtest.h>

#include <functional>

using namespace generator;

namespace {

std::string_view kWhat[] = {"scan", "archive", "variable"};

struct FieldCase {
    const char* name;
    std::string toml;
    // Reads one field; returns the accessor's own answer (false: nothing usable).
    std::function<bool(TomlFields&, const toml::table&)> read;
    std::string error;  // the whole message
};

class FieldErrors : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldErrors, NameTheFieldWithItsPlace) {
    const FieldCase& c = GetParam();
    toml::parse_result parsed = toml::parse(std::string_view(c.toml), std::string_view("t.toml"));
    ASSERT_TRUE(parsed) << parsed.error().description();
    std::string error;
    TomlFields fields("t.toml", error);
    EXPECT_FALSE(c.read(fields, parsed.table()));
    EXPECT_EQ(error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldErrors,
    ::testing::Values(
        FieldCase{"TextOfAnotherType", "a = 1\nname = 5\n",
                  [](TomlFields& f, const toml::table& t) {
                      bool ok = true;
                      return f.text(t, "name", ok) != nullptr || ok;
                  },
                  "t.toml:2:8: name must be a string, not an integer"},
        FieldCase{"FlagOfAnotherType", "on = \"yes\"\n",
                  [](TomlFields& f, const toml::table& t) {
                      bool ok = true;
                      return f.flag(t, "on", ok) != nullptr || ok;
                  },
                  "t.toml:1:6: on must be true or false, not a string"},
        FieldCase{"SectionThatIsNoTable", "s = [1]\n",
                  [](TomlFields& f, const toml::table& t) {
                      bool ok = true;
                      return f.section(t, "s", ok) != nullptr || ok;
                  },
                  "t.toml:1:5: s must be a table, not an array"},
        FieldCase{"UnknownField", "[s]\nkind = 1\nkinds = 2\n",
                  [](TomlFields& f, const toml::table& t) {
                      return f.onlyFields(*t.get_as<toml::table>("s"), "[s]", {"kind", "path"});
                  },
                  "t.toml:3:1: unknown field \"kinds\" in [s]"},
        FieldCase{"ChoiceOutsideTheList", "kind = \"jar\"\n",
                  [](TomlFields& f, const toml::table& t) {
                      bool ok = true;
                      return f.choice(t, "kind", kWhat, 0, ok) >= 0 || ok;
                  },
                  "t.toml:1:8: kind \"jar\" is not one of \"scan\", \"archive\", \"variable\""},
        FieldCase{"ChoiceOfAnotherType", "kind = 2\n",
                  [](TomlFields& f, const toml::table& t) {
                      bool ok = true;
                      return f.choice(t, "kind", kWhat, 0, ok) >= 0 || ok;
                  },
                  "t.toml:1:8: kind must be a string, not an integer"},
        FieldCase{"ArrayThatIsNoArray", "list = \"a\"\n",
                  [](TomlFields& f, const toml::table& t) {
                      std::vector<const toml::value<std::string>*> items;
                      bool present = false;
                      return f.stringArray(t, "list", items, present);
                  },
                  "t.toml:1:8: list must be an array of strings, not a string"},
        FieldCase{"ArrayItemOfAnotherType", "list = [\"a\", true]\n",
                  [](TomlFields& f, const toml::table& t) {
                      std::vector<const toml::value<std::string>*> items;
                      bool present = false;
                      return f.stringArray(t, "list", items, present);
                  },
                  "t.toml:1:14: list must hold strings only, not a boolean"},
        FieldCase{"SeparatorInsideAnEntry", "path = \"a;b\"\n",
                  [](TomlFields& f, const toml::table& t) {
                      return f.noneOf(*t.get("path"), t.get("path")->value_or(std::string_view()), ';', "an entry");
                  },
                  "t.toml:1:8: an entry must not contain \";\": it separates entries"},
        // Once a field failed, later accessors read nothing and the first error stays.
        FieldCase{"FirstErrorStays", "name = 5\non = 1\n",
                  [](TomlFields& f, const toml::table& t) {
                      bool ok = true;
                      f.text(t, "name", ok);
                      const bool later = f.flag(t, "on", ok) != nullptr || f.choice(t, "on", kWhat, 0, ok) != -1;
                      return later || ok;
                  },
                  "t.toml:1:8: name must be a string, not an integer"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TomlFieldsTest, AbsentFieldsAreNoError) {
    toml::parse_result parsed = toml::parse("other = 1\n");
    std::string error;
    TomlFields fields("t.toml", error);
    bool ok = true;
    std::vector<const toml::value<std::string>*> items;
    bool present = true;
    EXPECT_EQ(fields.text(parsed.table(), "name", ok), nullptr);
    EXPECT_EQ(fields.section(parsed.table(), "s", ok), nullptr);
    EXPECT_EQ(fields.choice(parsed.table(), "kind", kWhat, 7, ok), 7);
    EXPECT_TRUE(fields.stringArray(parsed.table(), "list", items, present));
    EXPECT_FALSE(present);
    EXPECT_TRUE(ok);
    EXPECT_EQ(error, "");
}

TEST(TomlFieldsTest, ChoiceAnswersTheIndex) {
    toml::parse_result parsed = toml::parse("kind = \"variable\"\n");
    std::string error;
    TomlFields fields("t.toml", error);
    bool ok = true;
    EXPECT_EQ(fields.choice(parsed.table(), "kind", kWhat, -2, ok), 2);
    EXPECT_TRUE(ok);
}

TEST(TomlFieldsTest, QuotedChoicesSetTheLastOneApart) {
    EXPECT_EQ(quotedChoices({}), "");
    EXPECT_EQ(quotedChoices(std::span(kWhat, 1), " or "), "\"scan\"");
    EXPECT_EQ(quotedChoices(std::span(kWhat, 2), " or "), "\"scan\" or \"archive\"");
    EXPECT_EQ(quotedChoices(kWhat, " or "), "\"scan\", \"archive\" or \"variable\"");
    EXPECT_EQ(quotedChoices(kWhat), "\"scan\", \"archive\", \"variable\"");
}

}  // namespace

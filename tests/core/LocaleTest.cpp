#include "core/Locale.h"
#include "log/MemoryLog.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr uint16_t kPrimaryMask = 0x3FF;

TEST(LocaleTest, TableHas215DistinctIdentifiersWithShortJavaStyleTexts) {
    const auto table = localeTable();
    EXPECT_EQ(table.size(), 215u);
    std::set<uint16_t> identifiers;
    std::set<uint16_t> primaries;
    for (const LocaleEntry& entry : table) {
        EXPECT_TRUE(identifiers.insert(entry.langId).second) << std::hex << entry.langId << " twice";
        if (entry.langId <= kPrimaryMask) primaries.insert(entry.langId);
        // detectLocale's callers keep the text in an 8-character buffer.
        const std::string_view text = entry.text();
        EXPECT_LE(text.size(), 8u) << text;
        ASSERT_GE(text.size(), 2u) << std::hex << entry.langId;
        EXPECT_TRUE(text[0] >= 'a' && text[0] <= 'z' && text[1] >= 'a' && text[1] <= 'z') << text;
    }
    EXPECT_EQ(primaries.size(), 71u);
    // A full LANGID without its language's primary entry would make every
    // other country of that language fall back to "en".
    for (const LocaleEntry& entry : table) {
        EXPECT_TRUE(primaries.count(entry.langId & kPrimaryMask)) << std::hex << entry.langId;
    }
}

TEST(LocaleTest, LangIdMapping) {
    struct Case {
        uint16_t langId;
        std::string_view locale;
    };
    const Case cases[] = {
        {0x0C07, "de_AT"},    {0x1809, "en_IE"}, {0x4809, "en"},    {0x0442, "en"},    {0x0814, "no_NO_NY"},
        {0x041A, "hr_HR"},    {0x081A, "sr_CS"}, {0x083C, "ga_IE"}, {0x043C, "gd_GB"}, {0x2409, "en"},
        {0x0C0A, "es_ES"},    {0x040D, "iw_IL"}, {0x0421, "in_ID"}, {0x0816, "pt_PT"}, {0x0812, "ko_KR"},
        {0x0431, "ts"},       {0x0056, "gl"},    {0x0456, "gl_ES"}, {0x0000, "en"},    {0xFFFF, "en"},
        // No full entry: the primary language decides.
        {0x4807, "de"},       {0x1C0C, "fr"},    {0x201A, "sr"},    {0x0C14, "no"},    {0x0851, "en"},
        // The primary language has ten bits: 0x107 is not German.
        {0x0107, "en"},       {0x0707, "en"},
    };
    for (const Case& c : cases) EXPECT_EQ(localeForLangId(c.langId), c.locale) << std::hex << c.langId;
}

TEST(LocaleTest, FormatAsDefault) {
    struct Case {
        std::vector<std::u16string> arguments;
        bool expected;
    };
    const Case cases[] = {
        {{}, true},
        {{u"launcher.exe", u"-Dother=false", u"-Xmx1g"}, true},
        {{u"launcher.exe", u"-Dsun.locale.formatasdefault=false", u"-Dsun.locale.formatasdefault=true"}, true},
        {{u"launcher.exe", u"-Dsun.locale.formatasdefault=true", u"-Dsun.locale.formatasdefault=false"}, false},
        {{u"-Dsun.locale.formatasdefault="}, false},
        {{u"-Dsun.locale.formatasdefault=TRUE"}, false},
        {{u"-Dsun.locale.formatasdefault=true "}, false},
        {{u"-Dsun.locale.formatasdefault=true"}, true},
        {{u"-Dsun.locale.formatasdefault"}, true},
        {{u"-DSUN.LOCALE.FORMATASDEFAULT=false"}, true},
        {{u"x-Dsun.locale.formatasdefault=false"}, true},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::u16string& a : c.arguments) shown += std::string(a.begin(), a.end()) + " ";
        EXPECT_EQ(formatAsDefault(c.arguments), c.expected) << shown;
    }
}

class DetectLocaleTest : public ::testing::Test {
protected:
    void SetUp() override { clearMemoryLog(); }

    std::string detect(const std::vector<std::u16string>* arguments, uint16_t defaultLangId,
                       std::optional<uint16_t> interfaceLangId) {
        return detectLocale(arguments, defaultLangId, [this, interfaceLangId] {
            ++interfaceQueries;
            return interfaceLangId;
        });
    }

    int interfaceQueries = 0;
};

TEST_F(DetectLocaleTest, InterfaceLanguageDecidesOnlyWhenFormatAsDefaultIsFalse) {
    struct Case {
        std::vector<std::u16string> arguments;
        std::optional<uint16_t> interfaceLangId;
        std::string expectedLocale;
        int expectedQueries;
        std::vector<std::string> expectedLog;
    };
    const std::u16string setFalse = u"-Dsun.locale.formatasdefault=false";
    const std::u16string setTrue = u"-Dsun.locale.formatasdefault=true";
    const Case cases[] = {
        {{u"app.exe"}, 0x0C07, "en_GB", 0,
         {"sun.locale.formatasdefault is true", "language/country is en_GB"}},
        {{u"app.exe", setFalse}, 0x0C07, "de_AT", 1,
         {"sun.locale.formatasdefault is false", "language/country is de_AT"}},
        {{u"app.exe", setFalse, setTrue}, 0x0C07, "en_GB", 0,
         {"sun.locale.formatasdefault is true", "language/country is en_GB"}},
        // The interface language could not be found: the default locale stays.
        {{u"app.exe", setFalse}, std::nullopt, "en_GB", 1,
         {"sun.locale.formatasdefault is false", "language/country is en_GB"}},
        {{u"app.exe", setFalse}, 0x0442, "en", 1,
         {"sun.locale.formatasdefault is false", "language/country is en"}},
    };
    for (const Case& c : cases) {
        clearMemoryLog();
        interfaceQueries = 0;
        EXPECT_EQ(detect(&c.arguments, 0x0809, c.interfaceLangId), c.expectedLocale);
        EXPECT_EQ(interfaceQueries, c.expectedQueries) << c.expectedLocale;
        EXPECT_EQ(memoryLogLines(), c.expectedLog);
    }
}

TEST_F(DetectLocaleTest, ServiceLauncherUsesTheDefaultLocaleWithoutFormatAsDefaultLine) {
    EXPECT_EQ(detect(nullptr, 0x0814, 0x0407), "no_NO_NY");
    EXPECT_EQ(interfaceQueries, 0);
    EXPECT_EQ(memoryLogLines(), std::vector<std::string>{"language/country is no_NO_NY"});
}

TEST(LocaleTest, SplitLocale) {
    struct Case {
        std::string_view locale;
        std::string_view language;
        std::optional<std::string_view> country;
    };
    // Each case follows one with a country, so a stale country would show.
    const Case cases[] = {
        {"de_CH", "de", "CH"}, {"en", "en", std::nullopt},    {"de_AT", "de", "AT"},
        {"no_NO_NY", "no", std::nullopt}, {"fr_CA", "fr", "CA"}, {"ts", "ts", std::nullopt},
    };
    for (const Case& c : cases) {
        splitLocale(c.locale);
        char language[3] = "xx";
        ASSERT_TRUE(localeLanguage(language)) << c.locale;
        EXPECT_STREQ(language, std::string(c.language).c_str()) << c.locale;

        char country[3] = "##";
        EXPECT_EQ(localeCountry(country), c.country.has_value()) << c.locale;
        const std::string expectedCountry = c.country ? std::string(*c.country) : "##";
        EXPECT_STREQ(country, expectedCountry.c_str()) << c.locale << ": output must stay untouched without a country";
    }
}

}  // namespace

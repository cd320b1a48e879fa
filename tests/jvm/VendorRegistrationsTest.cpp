#include "jvm/VendorRegistrations.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(VendorRegistrationsTest, PatternsSplitIntoSegmentsOfAlternatives) {
    const auto segments = keyPatternSegments("Eclipse Adoptium|AdoptOpenJDK\\JDK|JRE\\*\\MSI");
    const std::vector<std::vector<std::string_view>> expected{
        {"Eclipse Adoptium", "AdoptOpenJDK"}, {"JDK", "JRE"}, {"*"}, {"MSI"}};
    EXPECT_EQ(segments, expected);
}

// Every row names a key below SOFTWARE that a reading can follow: no empty
// segment or alternative (which would open SOFTWARE itself) and a value name.
TEST(VendorRegistrationsTest, EveryRowIsAWellFormedPattern) {
    std::set<std::string_view> vendors;
    for (const VendorRegistration& row : kVendorRegistrations) {
        SCOPED_TRACE(row.keyPattern);
        EXPECT_TRUE(vendors.insert(row.vendor).second);
        EXPECT_FALSE(row.valueName.empty());
        for (const auto& segment : keyPatternSegments(row.keyPattern))
            for (std::string_view alternative : segment) EXPECT_FALSE(alternative.empty());
    }
}

TEST(VendorRegistrationsTest, HomesLoseQuotesBlanksAndClosingSeparators) {
    const struct {
        const char* given;
        const char* home;
    } cases[] = {
        {"C:\\Java\\jdk-17", "C:\\Java\\jdk-17"},
        {"C:\\Java\\jdk-17\\", "C:\\Java\\jdk-17"},
        {"C:\\Java\\jdk-17\\\\", "C:\\Java\\jdk-17"},
        {"C:/Java/jdk-17/", "C:/Java/jdk-17"},
        {"\"C:\\Program Files\\Java\\jdk-17\"", "C:\\Program Files\\Java\\jdk-17"},
        {"\"C:\\Program Files\\Java\\jdk-17\\\"", "C:\\Program Files\\Java\\jdk-17"},
        {"  C:\\Java  ", "C:\\Java"},
        {"C:\\", "C:\\"},
        {"\"", "\""},
        {"\"\"", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(normalizedJavaHome(c.given), c.home) << c.given;
}

}  // namespace

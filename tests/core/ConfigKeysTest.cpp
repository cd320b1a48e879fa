#include "core/ConfigKeys.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace {

using config::KeyInfo;
using config::ValueKind;

bool inDocumentedRange(int32_t key) {
    return (key >= 101 && key <= 161) || (key >= 1000 && key <= 1020) || (key >= 2001 && key <= 2003) ||
           (key >= 10003 && key <= 10123) || key == 20017 ||
           key == 1021 || (key >= 30001 && key <= 30099);  // this launcher family's own additions
}

TEST(ConfigKeysTest, KeysAndNamesAreUniqueAndUsableInConfigFiles) {
    std::set<int32_t> keys;
    std::set<std::string_view> names;
    for (const KeyInfo& info : config::keyCatalogue()) {
        EXPECT_TRUE(keys.insert(info.key).second) << "key " << info.key << " twice";
        EXPECT_TRUE(names.insert(info.name).second) << "name " << info.name << " twice";
        EXPECT_TRUE(inDocumentedRange(info.key)) << info.key;
        EXPECT_FALSE(config::isIgnoredKey(info.key)) << info.key << " is both read and ignored";
        ASSERT_FALSE(info.name.empty()) << info.key;
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(info.name[0]))) << info.name;
        for (char c : info.name) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << info.name;
        EXPECT_FALSE(info.whenAbsent.empty()) << info.name;
    }
}

TEST(ConfigKeysTest, EveryEntryIsFoundByKeyAndByName) {
    for (const KeyInfo& info : config::keyCatalogue()) {
        EXPECT_EQ(config::findKey(info.key), &info) << info.key;
        EXPECT_EQ(config::findKeyByName(info.name), &info) << info.name;
    }
}

TEST(ConfigKeysTest, UnknownKeysAndNamesAreNotFound) {
    for (int32_t key : {0, -1, 100, 129, 141, 162, 999, 1022, 2000, 10122, 10124, 20016, 20018}) {
        EXPECT_EQ(config::findKey(key), nullptr) << key;
    }
    for (std::string_view name : {"", "LauncherKind", "launcherkind", "launcherKind ", "kLauncherKind"}) {
        EXPECT_EQ(config::findKeyByName(name), nullptr) << '"' << name << '"';
    }
}

TEST(ConfigKeysTest, ValueKinds) {
    struct Case {
        int32_t key;
        ValueKind kind;
    };
    const Case cases[] = {
        {config::kServiceDescription, ValueKind::WideText}, {config::kLauncherKind, ValueKind::Integer},
        {config::kMainClass, ValueKind::Text},              {config::kEmbeddedFileCount, ValueKind::Integer},
        {config::kEmbeddedFileNames, ValueKind::Text},      {config::kMinVersion, ValueKind::Text},
        {config::kSplashScreenEnabled, ValueKind::Integer}, {config::kMessageInternalError, ValueKind::Text},
    };
    for (const Case& c : cases) {
        const KeyInfo* info = config::findKey(c.key);
        ASSERT_NE(info, nullptr) << c.key;
        EXPECT_EQ(info->kind, c.kind) << c.key;
    }
}

// Only wide values can be translated by locale sections; a second wide key
// would silently change which values a translator can replace.
TEST(ConfigKeysTest, ServiceDescriptionIsTheOnlyWideKey) {
    for (const KeyInfo& info : config::keyCatalogue()) {
        EXPECT_EQ(info.kind == ValueKind::WideText, info.key == config::kServiceDescription) << info.key;
    }
}

TEST(ConfigKeysTest, EveryMessageKeyCarriesItsTextAndNoOtherKeyDoes) {
    for (int32_t key = config::kFirstMessage; key <= config::kLastMessage; ++key) {
        const KeyInfo* info = config::findKey(key);
        ASSERT_NE(info, nullptr) << "message " << key << " missing";
        EXPECT_EQ(info->kind, ValueKind::Text) << key;
        EXPECT_FALSE(info->shippedText.empty()) << key;
    }
    for (const KeyInfo& info : config::keyCatalogue()) {
        const bool isMessage = info.key >= config::kFirstMessage && info.key <= config::kLastMessage;
        if (!isMessage) {
            EXPECT_TRUE(info.shippedText.empty()) << info.key;
        }
    }
}

TEST(ConfigKeysTest, ShippedMessageTexts) {
    struct Case {
        int32_t key;
        std::string_view text;
    };
    const Case cases[] = {
        {1000, "Error"},
        {1006, "File or directory {0} not found or empty\n"},
        {1009, "An internal error occurred (error code: {0})"},
        {1010, "Couldn't load main class."},
        {1015, "You must be at least Poweruser to run this program."},
        {1016,
         "No JVM could be found on your system.\nPlease define ZELKOR_JAVA_HOME\nto point to an installed {0}-bit "
         "JDK or JRE or download a JRE from java.com."},
        {1018, "The {0} environment variable does not\npoint to a working 64-bit JDK or JRE."},
        {1019,
         "The JVM found at {0} is damaged.\nPlease reinstall or define ZELKOR_JAVA_HOME\nto point to an installed "
         "32-bit JDK or JRE."},
    };
    for (const Case& c : cases) {
        const KeyInfo* info = config::findKey(c.key);
        ASSERT_NE(info, nullptr) << c.key;
        EXPECT_EQ(info->shippedText, c.text) << c.key;
    }
}

TEST(ConfigKeysTest, IgnoredKeysAreAcceptedButNotCatalogued) {
    std::set<int32_t> ignored(config::ignoredKeys().begin(), config::ignoredKeys().end());
    EXPECT_EQ(ignored.size(), config::ignoredKeys().size()) << "duplicates in the ignored list";
    for (int32_t key : {141, 142, 145, 147, 150, 151, 153, 155, 157, 159, 161}) {
        EXPECT_TRUE(ignored.count(key)) << key;
    }
    for (int32_t key = 10109; key <= 10122; ++key) EXPECT_TRUE(ignored.count(key)) << key;
    for (int32_t key : ignored) {
        EXPECT_TRUE(config::isIgnoredKey(key)) << key;
        EXPECT_EQ(config::findKey(key), nullptr) << key;
    }
    for (int32_t key : {140, 146, 154, 156, 160, 10108, 10123}) EXPECT_FALSE(config::isIgnoredKey(key)) << key;
}

}  // namespace

#include "PayloadWriter.h"
#include "core/ConfigLoader.h"
#include "core/ConfigStore.h"
#include "core/Locale.h"
#include "core/MemoryByteSource.h"
#include "support/FakePeImage.h"
#include "support/PayloadBuilder.h"

#include <gtest/gtest.h>

namespace {

using namespace payload;

class ConfigLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { clearConfigStore(); }
    void TearDown() override { clearConfigStore(); }

    // Loads `record` appended to a fake image, with `locale` as the detected locale.
    ConfigurationLoadResult load(const ConfigurationRecord& record, const std::string& locale,
                                 std::vector<uint8_t> trailer = {}) {
        image_ = makeFakePeImage();
        imageSize_ = image_.size();
        const std::vector<uint8_t> bytes = encodeConfigurationRecord(record);
        recordSize_ = bytes.size();
        image_.insert(image_.end(), bytes.begin(), bytes.end());
        image_.insert(image_.end(), trailer.begin(), trailer.end());
        MemoryByteSource source(image_);
        return loadConfigurationFrom(source, [&] {
            char16_t wide[32];
            configWideString(config::kServiceDescription, wide, 32);
            wideValueAtDetection_ = wide;
            return locale;
        });
    }

    static std::u16string wide(int32_t key) {
        char16_t buffer[64];
        configWideString(key, buffer, 64);
        return buffer;
    }

    std::vector<uint8_t> image_;
    size_t imageSize_ = 0;
    size_t recordSize_ = 0;
    std::u16string wideValueAtDetection_;
};

// Keys 20018 and 20019 have no name: the loader keeps wide values of any key.
ConfigurationRecord recordWithSections() {
    return PayloadBuilder()
        .set(config::kLauncherKind, "1")
        .add(config::kWorkingDirectory, "a")
        .add(config::kWorkingDirectory, "b")
        .set(config::kServiceDescription, u"base")
        .set(20018, u"other")
        .locale("de", {{config::kServiceDescription, u"de"}})
        .locale("de_AT", {{config::kServiceDescription, u"de_AT"}})
        .locale("fr", {{20018, u"fr"}})
        .locale("", {{20019, u"any"}})
        .record();
}

TEST_F(ConfigLoaderTest, MatchingSectionsApplyInFileOrder) {
    const struct {
        const char* locale;
        std::u16string service, other, any;
    } cases[] = {
        {"de_AT", u"de_AT", u"other", u"any"},
        {"de_CH", u"de", u"other", u"any"},
        {"fr_FR", u"base", u"fr", u"any"},
        {"d", u"base", u"other", u"any"},  // a prefix longer than the locale does not match
        {"no_NO_NY", u"base", u"other", u"any"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        clearConfigStore();
        const ConfigurationLoadResult result = load(recordWithSections(), c.locale);
        ASSERT_EQ(result.failure, nullptr) << result.failure;
        EXPECT_EQ(wide(config::kServiceDescription), c.service);
        EXPECT_EQ(wide(20018), c.other);
        EXPECT_EQ(wide(20019), c.any);
        EXPECT_EQ(result.localeString, c.locale);
    }
}

TEST_F(ConfigLoaderTest, LocaleIsDetectedAfterTheWideEntriesAndBeforeTheSections) {
    ASSERT_EQ(load(recordWithSections(), "de_AT").failure, nullptr);
    EXPECT_EQ(wideValueAtDetection_, u"base");
    char language[3], country[3];
    ASSERT_TRUE(localeLanguage(language));
    ASSERT_TRUE(localeCountry(country));
    EXPECT_STREQ(language, "de");
    EXPECT_STREQ(country, "AT");
}

TEST_F(ConfigLoaderTest, DuplicatesOddWideLengthsAndExtractionStart) {
    ConfigurationRecord record = recordWithSections();
    const ConfigurationLoadResult result = load(record, "en_US", {1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_EQ(result.failure, nullptr);
    char buffer[8];
    configString(config::kWorkingDirectory, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "b");
    EXPECT_EQ(configInt(config::kLauncherKind), 1);
    EXPECT_EQ(result.extractionStart, imageSize_ + recordSize_) << "bytes after the record must not be read";

    // A wide value of 5 bytes keeps 2 characters: patch the length of "base" (8) to 5.
    clearConfigStore();
    std::vector<uint8_t> bytes = PayloadBuilder().set(config::kServiceDescription, u"base").encodedRecord();
    bytes[32] = 5;  // the value's length field: header 20 bytes, N, W, key
    bytes.erase(bytes.begin() + 36 + 5, bytes.begin() + 36 + 8);
    image_ = makeFakePeImage();
    image_.insert(image_.end(), bytes.begin(), bytes.end());
    MemoryByteSource source(image_);
    const char* failure = loadConfigurationFrom(source, [] { return std::string("en"); }).failure;
    ASSERT_EQ(failure, nullptr) << failure;
    EXPECT_EQ(wide(config::kServiceDescription), u"ba");
}

TEST_F(ConfigLoaderTest, FailuresCarryTheFatalMessage) {
    std::vector<uint8_t> image = makeFakePeImage();
    {
        MemoryByteSource bare(image);
        EXPECT_STREQ(loadConfigurationFrom(bare, [] { return std::string("en"); }).failure, "Internal Error: readInt");
    }
    image.insert(image.end(), {1, 2, 3, 4});
    MemoryByteSource wrongMagic(image);
    EXPECT_STREQ(loadConfigurationFrom(wrongMagic, [] { return std::string("en"); }).failure, "Internal Error: magic");
}

TEST_F(ConfigLoaderTest, EntriesReadBeforeADamageAreStored) {
    // The caption is known when a later entry turns out damaged.
    const std::vector<uint8_t> whole = PayloadBuilder()
                                           .set(config::kMessageErrorCaption, "Caption")
                                           .set(config::kApplicationName, "name")
                                           .set(config::kServiceDescription, u"wide")
                                           .set(20018, u"lost")
                                           .encodedRecord();
    // Header 20, N 4, key 4 + length 4 + "Caption" 7, key 4 + length 4 + "name" 4, W 4, key 4 + length 4 + 8.
    const size_t afterCaption = 20 + 4 + 15;
    const size_t afterFirstWide = afterCaption + 12 + 4 + 16;
    const struct {
        size_t keptBytes;
        const char* failure;
        bool nameStored;
        std::u16string wideValue;
    } cases[] = {
        {afterCaption + 10, "Internal Error: readString", false, u""},
        {afterFirstWide + 2, "Internal Error: readInt", true, u"wide"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keptBytes);
        clearConfigStore();
        std::vector<uint8_t> image = makeFakePeImage();
        image.insert(image.end(), whole.begin(), whole.begin() + static_cast<ptrdiff_t>(c.keptBytes));
        MemoryByteSource source(image);
        EXPECT_STREQ(loadConfigurationFrom(source, [] { return std::string("en"); }).failure, c.failure);
        char caption[16];
        configString(config::kMessageErrorCaption, caption, sizeof caption);
        EXPECT_STREQ(caption, "Caption");
        EXPECT_EQ(hasConfigString(config::kApplicationName), c.nameStored);
        EXPECT_EQ(wide(config::kServiceDescription), c.wideValue);
    }
}

}  // namespace

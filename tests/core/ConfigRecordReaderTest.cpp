#include "PayloadWriter.h"
#include "core/ConfigRecordReader.h"
#include "core/MemoryByteSource.h"
#include "core/PayloadLocator.h"
#include "log/MemoryLog.h"
#include "support/FakePeImage.h"
#include "support/LittleEndian.h"
#include "support/PayloadBuilder.h"

#include <gtest/gtest.h>

namespace {

using namespace payload;

ConfigurationRecord sampleRecord() {
    // Key 1 has no name: the reader keeps entries of any key.
    ConfigurationRecord record = PayloadBuilder()
                                     .add(config::kLauncherKind, "1")
                                     .add(config::kMainClass, "org.example.Main")
                                     .add(config::kLauncherKind, "4")
                                     .set(config::kServiceDescription, u"Service \u00E9")
                                     .locale("de", {{config::kServiceDescription, u"Dienst"}})
                                     .locale("de_AT", {{config::kServiceDescription, u"Dienst AT"}, {1, u""}})
                                     .record();
    record.header = {0, 0x1234, 99};
    return record;
}

TEST(ConfigRecordReaderTest, ReadsBackWhatTheWriterEncodes) {
    const ConfigurationRecord written = sampleRecord();
    const std::vector<uint8_t> bytes = encodeConfigurationRecord(written);
    MemoryByteSource source(bytes);
    PayloadReader reader(source);
    ConfigurationRecord read;
    ASSERT_TRUE(readConfigurationRecord(reader, read)) << reader.failure();
    EXPECT_EQ(read.header.wordB, 0x1234);
    EXPECT_EQ(read.header.headerLong, 99);
    ASSERT_EQ(read.narrowEntries.size(), 3u);
    EXPECT_EQ(read.narrowEntries[2].key, config::kLauncherKind);
    EXPECT_EQ(read.narrowEntries[2].value, "4");
    ASSERT_EQ(read.wideEntries.size(), 1u);
    EXPECT_EQ(read.wideEntries[0].value, u"Service \u00E9");
    ASSERT_EQ(read.localeSections.size(), 2u);
    EXPECT_EQ(read.localeSections[1].prefix, "de_AT");
    EXPECT_EQ(read.localeSections[1].entries[0].value, u"Dienst AT");
    EXPECT_EQ(reader.position(), bytes.size()) << "the reader must stop at the first embedded file";
}

TEST(ConfigRecordReaderTest, WrongMagicIsRefused) {
    std::vector<uint8_t> bytes = encodeConfigurationRecord(sampleRecord());
    bytes[0] ^= 1;
    MemoryByteSource source(bytes);
    PayloadReader reader(source);
    ConfigurationRecord read;
    EXPECT_FALSE(readConfigurationRecord(reader, read));
    EXPECT_STREQ(reader.failure(), "Internal Error: magic");
}

TEST(ConfigRecordReaderTest, NegativeCountsReadNothing) {
    ConfigurationRecord empty;
    std::vector<uint8_t> bytes = encodeConfigurationRecord(empty);
    // Counts N, W and S sit at offsets 20, 24 and 28 of an empty record.
    for (size_t offset : {20u, 24u, 28u}) put32(bytes, offset, 0xFFFFFFFFu);
    MemoryByteSource source(bytes);
    PayloadReader reader(source);
    ConfigurationRecord read;
    ASSERT_TRUE(readConfigurationRecord(reader, read));
    EXPECT_TRUE(read.narrowEntries.empty());
    EXPECT_TRUE(read.wideEntries.empty());
    EXPECT_TRUE(read.localeSections.empty());
    EXPECT_EQ(reader.position(), 32u);
}

// Cutting the record at each kind of field gives the message of the
// primitive that reads that field.
TEST(ConfigRecordReaderTest, TruncationInsideEachFieldNamesThatField) {
    const std::vector<uint8_t> full = PayloadBuilder()
                                          .set(config::kLauncherKind, "abcd")
                                          .set(config::kServiceDescription, u"wxyz")
                                          .locale("de", {{config::kServiceDescription, u"uv"}})
                                          .encodedRecord();
    // Layout: magic 0-3, A 4-7, B 8-11, long 12-19, N 20-23, key 24-27, len 28-31,
    // "abcd" 32-35, W 36-39, key 40-43, len 44-47, body 48-55, S 56-59,
    // prefix len 60-63, "de" 64-65, M 66-69, key 70-73, len 74-77, body 78-81.
    struct Case {
        size_t cutAt;
        const char* message;
    };
    const Case cases[] = {
        {2, "Internal Error: readInt"},     {6, "Internal Error: readInt"},
        {15, "Internal Error: readLong"},   {22, "Internal Error: readInt"},
        {26, "Internal Error: readInt"},    {30, "Internal Error: readInt"},
        {34, "Internal Error: readString"}, {50, "Internal Error: readWString"},
        {58, "Internal Error: readInt"},    {65, "Internal Error: readString"},
        {68, "Internal Error: readInt"},    {80, "Internal Error: readWString"},
    };
    ASSERT_EQ(full.size(), 82u);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cut at " << c.cutAt);
        MemoryByteSource source(std::span<const uint8_t>(full).first(c.cutAt));
        PayloadReader reader(source);
        ConfigurationRecord read;
        EXPECT_FALSE(readConfigurationRecord(reader, read));
        EXPECT_STREQ(reader.failure(), c.message);
    }
}

TEST(PayloadLocatorTest, PayloadStartsAfterTheLastSectionHeadersRawData) {
    FakePeOptions options;
    // The last header is not the one with the highest offset end: only the
    // last entry of the table counts.
    options.sections = {{".text", 0x400}, {".data", 0x200}, {".rsrc", 0x200}};
    std::vector<uint8_t> image = makeFakePeImage(options);
    const uint32_t expected = static_cast<uint32_t>(image.size());
    image.insert(image.end(), {0xD5, 0x13, 0xE4, 0xE8});

    clearMemoryLog();
    MemoryByteSource source(image);
    PayloadReader reader(source);
    ASSERT_TRUE(seekPayload(reader));
    EXPECT_EQ(reader.position(), expected);
    const std::vector<std::string> expectedLog = {
        "number of sections: 3",
        "size of optional headers: 240",
        "resSectionTableStart: " + std::to_string(0x80 + 240 + 40 * 3 - 16),
        "rawDataSize: 512, rawDataOffset: " + std::to_string(expected - 0x200),
    };
    EXPECT_EQ(memoryLogLines(), expectedLog);
}

TEST(PayloadLocatorTest, ImageCutInsideTheHeadersFails) {
    const std::vector<uint8_t> image = makeFakePeImage();
    MemoryByteSource source(std::span<const uint8_t>(image).first(0x80 + 7));
    PayloadReader reader(source);
    EXPECT_FALSE(seekPayload(reader));
    EXPECT_STREQ(reader.failure(), "Internal Error: readShort");
}

}  // namespace

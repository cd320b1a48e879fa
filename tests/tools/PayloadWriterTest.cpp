#include "PayloadDump.h"
#include "LauncherDescription.h"
#include "PayloadWriter.h"
#include "support/FakePeImage.h"
#include "support/PayloadBuilder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using namespace payload;

namespace {

class PayloadWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("payload_writer_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        templatePath_ = write("template.exe", makeFakePeImage());
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path path = directory_ / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }
    static std::vector<uint8_t> read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path directory_;
    fs::path templatePath_;
};

TEST_F(PayloadWriterTest, WritesRecordAndMaskedFilesBehindTheImage) {
    const PayloadBuilder payload = PayloadBuilder()
                                       .set(config::kLauncherKind, "1")
                                       .set(config::kServiceDescription, u"Dienst")
                                       .embed("a.jar", write("a.jar", {0x00, 0x5C, 0xFF}))
                                       .embed("lib\\b.exe", write("b.exe", {}));
    const fs::path output = directory_ / "app.exe";
    std::string error;
    ASSERT_TRUE(writeLauncher(templatePath_, payload, output, error)) << error;

    LauncherContents contents;
    ASSERT_TRUE(readLauncher(output, contents, error)) << error;
    const std::vector<uint8_t> image = read(templatePath_);
    const std::vector<uint8_t> bytes = read(output);
    EXPECT_EQ(contents.payloadOffset, image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), bytes.begin())) << "the template must be copied unchanged";

    // The file keys are added because the record did not carry them.
    ASSERT_EQ(contents.record.narrowEntries.size(), 3u);
    EXPECT_EQ(contents.record.narrowEntries[1].key, config::kEmbeddedFileCount);
    EXPECT_EQ(contents.record.narrowEntries[1].value, "2");
    EXPECT_EQ(contents.record.narrowEntries[2].value, "a.jar;lib\\b.exe;");
    EXPECT_EQ(contents.record.wideEntries[0].value, u"Dienst");

    ASSERT_EQ(contents.embeddedFiles.size(), 2u);
    EXPECT_EQ(contents.embeddedFiles[0].size, 3);
    const uint64_t content = contents.embeddedFiles[0].contentOffset;
    EXPECT_EQ(bytes[content], 0x00 ^ 0x5C);
    EXPECT_EQ(bytes[content + 1], 0x5C ^ 0x5C);
    EXPECT_EQ(bytes[content + 2], 0xFF ^ 0x5C);
    EXPECT_EQ(contents.embeddedFiles[1].size, 0);
    EXPECT_EQ(contents.trailingBytes, 0u);
    EXPECT_EQ(bytes.size(), contents.embeddedStart + 8 + 3 + 8);
    // The header long counts from offset 12 of the payload to the end of the last file.
    EXPECT_EQ(static_cast<uint64_t>(contents.record.header.headerLong), bytes.size() - image.size() - 12);
}

TEST_F(PayloadWriterTest, GivenFileKeysAreKeptAsWritten) {
    const PayloadBuilder payload = PayloadBuilder()
                                       .set(config::kEmbeddedFileCount, "5")
                                       .set(config::kEmbeddedFileNames, "x.jar;")
                                       .embed("x.jar", write("x.jar", {1}));
    std::string error;
    ASSERT_TRUE(writeLauncher(templatePath_, payload, directory_ / "app.exe", error)) << error;
    LauncherContents contents;
    ASSERT_TRUE(readLauncher(directory_ / "app.exe", contents, error));
    EXPECT_EQ(contents.record.narrowEntries.size(), 2u);
    EXPECT_EQ(contents.record.narrowEntries[0].value, "5");
}

// The dump reads key 2002 with the launcher's integer rule: out-of-range counts
// saturate at 32 bits, where strtol on a 64-bit long would keep 4294967297 and
// a conversion to int32_t would wrap it to 1 (and -4294967295 to 1 as well).
TEST_F(PayloadWriterTest, DumpReadsTheFileCountAsTheLauncherDoes) {
    const struct {
        const char* count;
        int32_t announced;
        size_t listed;
    } cases[] = {
        {"2", 2, 2},
        {" +1 file", 1, 1},
        {"4294967297", INT32_MAX, 2},
        {"-4294967295", INT32_MIN, 0},
        {"99999999999999999999", INT32_MAX, 2},
        {"0x2", 0, 0},
        {"", 0, 0},
    };
    const fs::path a = write("a.jar", {1, 2});
    const fs::path b = write("b.jar", {3});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const PayloadBuilder payload = PayloadBuilder()
                                           .set(config::kEmbeddedFileCount, c.count)
                                           .set(config::kEmbeddedFileNames, "a.jar;b.jar")
                                           .embed("a.jar", a)
                                           .embed("b.jar", b);
        std::string error;
        ASSERT_TRUE(writeLauncher(templatePath_, payload, directory_ / "app.exe", error)) << error;
        LauncherContents contents;
        ASSERT_TRUE(readLauncher(directory_ / "app.exe", contents, error)) << error;
        EXPECT_EQ(contents.announcedFiles, c.announced);
        ASSERT_EQ(contents.embeddedFiles.size(), c.listed);
        if (c.listed == 2) {
            EXPECT_EQ(contents.embeddedFiles[1].name, "b.jar");
            EXPECT_EQ(contents.embeddedFiles[1].size, 1);
            EXPECT_EQ(contents.trailingBytes, 0u);
        }
        const std::string listing = describeLauncher(contents);
        EXPECT_NE(listing.find(": " + std::to_string(c.listed) + " of " + std::to_string(c.announced) + " announced"),
                  std::string::npos)
            << listing;
    }
}

TEST_F(PayloadWriterTest, BadInputIsRefusedAndWritesNoOutput) {
    std::vector<uint8_t> withPayload = makeFakePeImage();
    withPayload.push_back(0);
    const fs::path notPe = write("notpe.exe", std::vector<uint8_t>(4096, 'x'));
    const fs::path appended = write("appended.exe", withPayload);
    struct Case {
        const char* name;
        fs::path templatePath;
        std::vector<EmbeddedFile> files;
        const char* errorMentions;
    };
    const Case cases[] = {
        {"missing template", directory_ / "absent.exe", {}, "does not exist"},
        {"template not a PE file", notPe, {}, "not a PE image"},
        {"data after the last section", appended, {}, "does not end where its last section ends"},
        {"unreadable embedded file", templatePath_, {{"a.jar", directory_ / "absent.jar"}}, "absent.jar"},
        {"embedded directory", templatePath_, {{"a.jar", directory_}}, "cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherPayload payload;
        payload.files = c.files;
        const fs::path output = directory_ / "out.exe";
        std::string error;
        EXPECT_FALSE(writeLauncher(c.templatePath, payload, output, error));
        EXPECT_NE(error.find(c.errorMentions), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(output));
        EXPECT_FALSE(fs::exists(directory_ / "out.exe.partial"));
    }
}

TEST_F(PayloadWriterTest, RefusesToOverwriteTheTemplate) {
    std::string error;
    EXPECT_FALSE(writeLauncher(templatePath_, {}, templatePath_, error));
    EXPECT_EQ(read(templatePath_), makeFakePeImage());
}

TEST(LauncherDescriptionTest, ReadsEntriesSectionsAndFiles) {
    const char* text =
        "# sample\n"
        "107 = 1\n"
        "1009 = \"An internal error occurred (error code: {0})\\n\"\n"
        "154 = \" 8\"\n"
        "121 = \"S0..\\.\\lib;\\\\x\"\n"
        "wide 20017 = Dienst \xC3\xA9\n"
        "locale de 20017 = A\n"
        "locale de_AT 20017 = B\n"
        "locale de 1 = C\n"
        "file lib\\x.jar = data/x.jar\n";
    LauncherPayload payload;
    std::string error;
    ASSERT_TRUE(parseLauncherDescription(text, "/base", payload, error)) << error;
    ASSERT_EQ(payload.record.narrowEntries.size(), 4u);
    EXPECT_EQ(payload.record.narrowEntries[3].value, "S0..\\.\\lib;\\x");
    EXPECT_EQ(payload.record.narrowEntries[1].value, "An internal error occurred (error code: {0})\n");
    EXPECT_EQ(payload.record.narrowEntries[2].value, " 8");
    EXPECT_EQ(payload.record.wideEntries[0].value, u"Dienst \u00E9");
    ASSERT_EQ(payload.record.localeSections.size(), 2u);
    EXPECT_EQ(payload.record.localeSections[0].entries.size(), 2u);
    EXPECT_EQ(payload.record.localeSections[1].prefix, "de_AT");
    ASSERT_EQ(payload.files.size(), 1u);
    EXPECT_EQ(payload.files[0].name, "lib\\x.jar");
    EXPECT_EQ(payload.files[0].source, fs::path("/base/data/x.jar"));
}

TEST(LauncherDescriptionTest, KeysCanBeNamedFromTheCatalogue) {
    LauncherPayload payload;
    std::string error;
    ASSERT_TRUE(parseLauncherDescription("launcherKind = 4\nwide serviceDescription = S\nlocale de messageErrorCaption = F\n",
                                 "/", payload, error))
        << error;
    EXPECT_EQ(payload.record.narrowEntries[0].key, 107);
    EXPECT_EQ(payload.record.wideEntries[0].key, 20017);
    EXPECT_EQ(payload.record.localeSections[0].entries[0].key, 1000);

    int32_t key = 0;
    std::string value;
    ASSERT_TRUE(parseKeyValue("mainClass=a.B=C", key, value, error));
    EXPECT_EQ(key, 122);
    EXPECT_EQ(value, "a.B=C");
    EXPECT_FALSE(parseKeyValue("noSuchKey=1", key, value, error));
}

TEST(LauncherDescriptionTest, MalformedLinesNameTheirLine) {
    for (const char* text : {"107\n", "abc = 1\n", "wide = x\n", "locale de = x\n", "file = x\n", "1 = \"open\n"}) {
        SCOPED_TRACE(text);
        LauncherPayload payload;
        std::string error;
        EXPECT_FALSE(parseLauncherDescription(std::string("# ok\n") + text, "/", payload, error));
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

}  // namespace

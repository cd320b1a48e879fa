#include "support/FakePeImage.h"
#include "support/LittleEndian.h"
#include "support/PeResources.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr uint32_t kSubdirectory = 0x80000000u;
constexpr uint32_t kNamed = 0x80000000u;

// Offsets, relative to the start of .rsrc, of the parts of the sample tree.
constexpr uint32_t kRootFirstEntry = 0x10;      // named type "PAYLOAD"
constexpr uint32_t kRootSecondEntry = 0x18;     // type 24
constexpr uint32_t kPayloadLanguageEntry = 0x70;
constexpr uint32_t kName = 0x1C0;
constexpr uint32_t kPayloadDataEntry = 0x100;
constexpr uint32_t kManifestDataEntry = 0x110;

struct Sample {
    std::vector<uint8_t> bytes;
    uint32_t rsrcOffset = 0;  // file offset of .rsrc
    uint32_t rsrcRva = 0;

    size_t at(uint32_t offsetInSection) const { return rsrcOffset + offsetInSection; }
    std::optional<PeImage> image() const { return parsePeImage(bytes); }
};

void putDirectory(Sample& s, uint32_t at, uint16_t named, uint16_t ids) {
    put16(s.bytes, s.at(at + 12), named);
    put16(s.bytes, s.at(at + 14), ids);
}

void putEntry(Sample& s, uint32_t at, uint32_t key, uint32_t target) {
    put32(s.bytes, s.at(at), key);
    put32(s.bytes, s.at(at + 4), target);
}

// A PE image whose .rsrc holds a named type "PAYLOAD" (name 7, language 1033,
// data "hello") and type 24 (name 1, language 0, data "xml").
Sample makeSample() {
    Sample s;
    s.bytes = makeFakePeImage();
    const auto image = parsePeImage(s.bytes);
    s.rsrcOffset = image->sections[1].pointerToRawData;
    s.rsrcRva = image->sections[1].virtualAddress;

    putDirectory(s, 0x000, 1, 1);
    putEntry(s, kRootFirstEntry, kNamed | kName, kSubdirectory | 0x040);
    putEntry(s, kRootSecondEntry, 24, kSubdirectory | 0x080);
    putDirectory(s, 0x040, 0, 1);
    putEntry(s, 0x050, 7, kSubdirectory | 0x060);
    putDirectory(s, 0x060, 0, 1);
    putEntry(s, kPayloadLanguageEntry, 1033, kPayloadDataEntry);
    putDirectory(s, 0x080, 0, 1);
    putEntry(s, 0x090, 1, kSubdirectory | 0x0A0);
    putDirectory(s, 0x0A0, 0, 1);
    putEntry(s, 0x0B0, 0, kManifestDataEntry);
    put32(s.bytes, s.at(kPayloadDataEntry), s.rsrcRva + 0x200);
    put32(s.bytes, s.at(kPayloadDataEntry + 4), 5);
    put32(s.bytes, s.at(kManifestDataEntry), s.rsrcRva + 0x210);
    put32(s.bytes, s.at(kManifestDataEntry + 4), 3);
    const std::u16string name = u"PAYLOAD";
    put16(s.bytes, s.at(kName), static_cast<uint32_t>(name.size()));
    for (size_t i = 0; i < name.size(); ++i) put16(s.bytes, s.at(kName + 2 + 2 * static_cast<uint32_t>(i)), name[i]);
    std::copy_n("hello", 5, s.bytes.begin() + static_cast<long>(s.at(0x200)));
    std::copy_n("xml", 3, s.bytes.begin() + static_cast<long>(s.at(0x210)));
    return s;
}

std::string text(std::span<const uint8_t> data) { return {data.begin(), data.end()}; }

TEST(PeResourcesTest, ListsNamedAndIdEntriesAndReadsTheirData) {
    const Sample s = makeSample();
    const auto image = s.image();
    ASSERT_TRUE(image);
    std::string error;
    const auto leaves = listPeResources(s.bytes, *image, &error);
    ASSERT_TRUE(leaves) << error;
    ASSERT_EQ(leaves->size(), 2u);

    const PeResourceLeaf* payload =
        findPeResource(*leaves, PeResourceKey::fromName(u"PAYLOAD"), PeResourceKey::fromId(7), 1033);
    ASSERT_NE(payload, nullptr);
    const auto payloadData = readPeResource(s.bytes, *image, *payload, &error);
    ASSERT_TRUE(payloadData) << error;
    EXPECT_EQ(text(*payloadData), "hello");

    const PeResourceLeaf* manifest = findPeResource(*leaves, PeResourceKey::fromId(24), PeResourceKey::fromId(1));
    ASSERT_NE(manifest, nullptr);
    EXPECT_EQ(manifest->language, PeResourceKey::fromId(0));
    const auto manifestData = readPeResource(s.bytes, *image, *manifest, &error);
    ASSERT_TRUE(manifestData) << error;
    EXPECT_EQ(text(*manifestData), "xml");

    EXPECT_EQ(findPeResource(*leaves, PeResourceKey::fromId(24), PeResourceKey::fromId(1), 1033), nullptr);
    EXPECT_EQ(findPeResource(*leaves, PeResourceKey::fromName(u"PAYLOAX"), PeResourceKey::fromId(7)), nullptr);
}

TEST(PeResourcesTest, RefusesADamagedTree) {
    const struct {
        const char* name;
        std::function<void(Sample&)> damage;
    } cases[] = {
        {"file cut inside .rsrc", [](Sample& s) { s.bytes.resize(s.at(0x100)); }},
        {"more entries than the section holds", [](Sample& s) { put16(s.bytes, s.at(14), 0xFFFF); }},
        {"subdirectory beyond the section", [](Sample& s) { putEntry(s, kRootSecondEntry, 24, kSubdirectory | 0x7FFFFFF0); }},
        {"name beyond the section", [](Sample& s) { putEntry(s, kRootFirstEntry, kNamed | 0x3FF, kSubdirectory | 0x040); }},
        {"name longer than the section", [](Sample& s) { put16(s.bytes, s.at(kName), 0xFFFF); }},
        {"data where a directory belongs", [](Sample& s) { putEntry(s, kRootSecondEntry, 24, kManifestDataEntry); }},
        {"directory pointing back at the root", [](Sample& s) { putEntry(s, kRootSecondEntry, 24, kSubdirectory); }},
        {"directory below a language", [](Sample& s) { putEntry(s, kPayloadLanguageEntry, 1033, kSubdirectory | 0x060); }},
        {"data entry beyond the section", [](Sample& s) { putEntry(s, kPayloadLanguageEntry, 1033, 0x3F8); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sample s = makeSample();
        c.damage(s);
        const auto image = s.image();
        ASSERT_TRUE(image);
        std::string error;
        EXPECT_FALSE(listPeResources(s.bytes, *image, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(PeResourcesTest, RefusesDataOutsideTheFile) {
    const struct {
        const char* name;
        uint32_t rvaInSection;
        uint32_t size;
    } cases[] = {
        {"data beyond every section", 0x100000, 4},
        {"data running past its section", 0x200, 0xFFFFFFF0},
        {"data starting at the section end", 0x400, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sample s = makeSample();
        put32(s.bytes, s.at(kPayloadDataEntry), s.rsrcRva + c.rvaInSection);
        put32(s.bytes, s.at(kPayloadDataEntry + 4), c.size);
        const auto image = s.image();
        ASSERT_TRUE(image);
        const auto leaves = listPeResources(s.bytes, *image);
        ASSERT_TRUE(leaves);
        std::string error;
        EXPECT_FALSE(readPeResource(s.bytes, *image, leaves->front(), &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(PeResourcesTest, RefusesAnImageWithoutResources) {
    FakePeOptions options;
    options.sections = {{".text", 0x200}};
    const std::vector<uint8_t> bytes = makeFakePeImage(options);
    const auto image = parsePeImage(bytes);
    ASSERT_TRUE(image);
    std::string error;
    EXPECT_FALSE(listPeResources(bytes, *image, &error));
    EXPECT_EQ(error, "no .rsrc section");
}

TEST(PeResourcesTest, StopsATreeThatMultipliesIntoTooManyLeaves) {
    // Every type points at the same name directory, every name at the same
    // language directory: 300 entries per level make 27 million leaves.
    FakePeOptions options;
    options.sections = {{".text", 0x200}, {".rsrc", 0x2000}};
    std::vector<uint8_t> bytes = makeFakePeImage(options);
    const auto image = parsePeImage(bytes);
    ASSERT_TRUE(image);
    const uint32_t rsrc = image->sections[1].pointerToRawData;
    constexpr uint16_t kCount = 300;
    const uint32_t directories[] = {0x000, 0x980, 0x1300};
    for (size_t level = 0; level < 3; ++level) {
        const uint32_t at = rsrc + directories[level];
        put16(bytes, at + 14, kCount);
        for (uint32_t i = 0; i < kCount; ++i) {
            const uint32_t target = level < 2 ? kSubdirectory | directories[level + 1] : 0x1F00;
            put32(bytes, at + 16 + 8 * i, i + 1);
            put32(bytes, at + 16 + 8 * i + 4, target);
        }
    }
    std::string error;
    EXPECT_FALSE(listPeResources(bytes, *image, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace

// The resource writer against the real templates: what it writes reads back
// through the tests' own resource reader and through wrestool, byte for byte,
// and the image around it stays consistent.
#include "LauncherResources.h"
#include "PeLayout.h"
#include "core/LittleEndian.h"
#include "core/PeImage.h"
#include "support/PeResources.h"
#include "support/VersionResource.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace resources;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// An .ico file (directory, then the images in order) with images of the given sizes.
std::vector<uint8_t> iconFile(std::vector<uint32_t> imageSizes) {
    std::vector<uint8_t> ico(6 + 16 * imageSizes.size());
    storeLittleEndian<uint16_t>(ico.data() + 2, 1);
    storeLittleEndian<uint16_t>(ico.data() + 4, static_cast<uint16_t>(imageSizes.size()));
    for (size_t i = 0; i < imageSizes.size(); ++i) {
        uint8_t* entry = ico.data() + 6 + 16 * i;
        entry[0] = entry[1] = static_cast<uint8_t>(16 << i);
        storeLittleEndian<uint16_t>(entry + 4, 1);
        storeLittleEndian<uint16_t>(entry + 6, 32);
        storeLittleEndian<uint32_t>(entry + 8, imageSizes[i]);
        storeLittleEndian<uint32_t>(entry + 12, static_cast<uint32_t>(ico.size()));
        for (uint32_t b = 0; b < imageSizes[i]; ++b) ico.push_back(static_cast<uint8_t>(b * 7 + i));
    }
    return ico;
}

std::vector<uint8_t> pngLike(size_t size) {
    std::vector<uint8_t> image{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    while (image.size() < size) image.push_back(static_cast<uint8_t>(image.size() * 31));
    return image;
}

TEST(VersionNumber, OneToFourPartsOfSixteenBits) {
    using V = std::array<uint16_t, 4>;
    EXPECT_EQ(parseVersionNumber("1"), (V{1, 0, 0, 0}));
    EXPECT_EQ(parseVersionNumber("1.2.3.4"), (V{1, 2, 3, 4}));
    EXPECT_EQ(parseVersionNumber("65535.0.7"), (V{65535, 0, 7, 0}));
    for (const char* bad : {"", "1.", ".1", "1..2", "1.2.3.4.5", "65536", "1.-2", "v1", "1.2 ", "1,2"})
        EXPECT_FALSE(parseVersionNumber(bad)) << bad;
}

TEST(IconFile, RefusesWhatIsNoIconOrRunsPastItsEnd) {
    std::string error;
    EXPECT_EQ(checkIconFile(iconFile({40, 50}), error), 2u);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases{{"empty", {}}, {"cursor", iconFile({40})}, {"noImages", iconFile({})},
                            {"truncatedDirectory", iconFile({40, 40})}, {"imagePastTheEnd", iconFile({40})}};
    cases[1].bytes[2] = 2;
    cases[3].bytes.resize(6 + 16);
    cases[4].bytes.pop_back();
    for (const Case& c : cases) EXPECT_FALSE(checkIconFile(c.bytes, error)) << c.name;
}

struct Template {
    const char* file;
};

class RewrittenTemplate : public ::testing::TestWithParam<Template> {
protected:
    void SetUp() override {
        path_ = fs::path(LAUNCHER_DIST_DIR) / GetParam().file;
        if (!fs::exists(path_)) GTEST_SKIP() << path_ << " not built";
        original_ = readFile(path_);
        // A directory per test process: ctest runs this template's tests side by side.
        work_ = fs::temp_directory_path() /
                ("resource-writer-" + std::string(GetParam().file) + "-" + std::to_string(::getpid()));
        fs::create_directories(work_);
    }
    void TearDown() override { fs::remove_all(work_); }

    // wrestool's raw extraction of one resource.
    std::vector<uint8_t> wrestool(const fs::path& image, const std::string& selection) {
        const fs::path out = work_ / "extracted";
        fs::remove(out);
        const std::string command = "wrestool -x " + selection + " '" + image.string() + "' > '" + out.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return readFile(out);
    }

    fs::path path_, work_;
    std::vector<uint8_t> original_;
};

TEST_P(RewrittenTemplate, ResourcesReadBackAndTheImageStaysConsistent) {
    if (std::system("wrestool --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "wrestool (icoutils) missing";
    std::string error;
    const auto before = readImageResources(original_, error);
    ASSERT_TRUE(before) << error;
    // For the generator's resources and the test reader's leaves alike.
    const auto isVersion = [](const auto& r) { return !r.type.isName && r.type.id == resources::kRtVersion; };
    // The product's own version information, which a configured one replaces.
    ASSERT_EQ(std::count_if(before->begin(), before->end(), isVersion), 1);

    struct Changes {
        const char* name;
        ResourceChanges changes;
    };
    VersionInfo version{{1, 2, 3, 4}, {1, 2, 0, 0}, "1.2.3.4", "1.2", "Stroller", "Acme Tools", "Trip planner",
                        "(c) Acme \u00e9"};
    std::vector<Changes> table{{"versionOnly", {{}, version, {}}},
                               {"iconOnly", {iconFile({100, 300, 1000}), std::nullopt, {}}},
                               // Large enough to push the sections after the resources far along.
                               {"everythingWithALargeSplash", {iconFile({1000}), version, pngLike(300000)}}};
    for (const Changes& c : table) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> image = original_;
        ASSERT_TRUE(writeResourceChanges(image, c.changes, error)) << error;
        const fs::path written = work_ / "launcher.exe";
        writeFile(written, image);

        // Headers: the file ends with its last section, whose memory end is the size of the image.
        const auto pe = parsePeImage(image, &error);
        ASSERT_TRUE(pe) << error;
        EXPECT_EQ(pe->endOfLastSection(), image.size());
        const uint32_t peOffset = loadLittleEndian<uint32_t>(image.data() + 60);
        const uint8_t* optional = image.data() + peOffset + 24;
        const PeSection& last = pe->sections.back();
        const uint32_t sectionAlignment = loadLittleEndian<uint32_t>(optional + 32);
        EXPECT_EQ(loadLittleEndian<uint32_t>(optional + 56),
                  (last.virtualAddress + std::max(last.virtualSize, last.sizeOfRawData) + sectionAlignment - 1) /
                      sectionAlignment * sectionAlignment);
        EXPECT_EQ(loadLittleEndian<uint32_t>(optional + 64), peChecksum(image));
        for (size_t i = 1; i < pe->sections.size(); ++i)
            EXPECT_GE(pe->sections[i].virtualAddress, pe->sections[i - 1].virtualAddress + pe->sections[i - 1].virtualSize);

        // The tests' own reader finds everything the template had, unchanged, apart from what was replaced.
        const auto leaves = listPeResources(image, *pe, &error);
        ASSERT_TRUE(leaves) << error;
        for (const Resource& r : *before) {
            if (r.type == ResourceKey::fromId(resources::kRtIcon) || r.type == ResourceKey::fromId(resources::kRtGroupIcon)) {
                if (!c.changes.icon.empty()) continue;
            }
            if (isVersion(r) && c.changes.version) continue;
            const PeResourceLeaf* leaf = findPeResource(*leaves, PeResourceKey::fromId(r.type.id),
                                                        PeResourceKey::fromId(r.name.id), r.language);
            ASSERT_NE(leaf, nullptr) << describeType(r.type) << " " << r.name.describe();
            const auto data = readPeResource(image, *pe, *leaf, &error);
            ASSERT_TRUE(data) << error;
            EXPECT_TRUE(std::equal(data->begin(), data->end(), r.data.begin(), r.data.end()));
        }

        // wrestool lists them and extracts them byte-identical.
        if (!c.changes.icon.empty()) {
            // The group is the file's directory with image numbers for offsets.
            const std::vector<uint8_t> group = wrestool(written, "--raw --type=14 --name=1");
            const uint16_t count = loadLittleEndian<uint16_t>(c.changes.icon.data() + 4);
            ASSERT_EQ(group.size(), 6u + 14u * count);
            EXPECT_TRUE(std::equal(group.begin(), group.begin() + 6, c.changes.icon.begin()));
            for (uint16_t i = 0; i < count; ++i) {
                const uint8_t* entry = c.changes.icon.data() + 6 + 16 * i;
                EXPECT_TRUE(std::equal(entry, entry + 12, group.begin() + 6 + 14 * i));
                EXPECT_EQ(loadLittleEndian<uint16_t>(group.data() + 6 + 14 * i + 12), i + 1);
                const uint32_t size = loadLittleEndian<uint32_t>(entry + 8), offset = loadLittleEndian<uint32_t>(entry + 12);
                EXPECT_EQ(wrestool(written, "--raw --type=3 --name=" + std::to_string(i + 1)),
                          std::vector<uint8_t>(c.changes.icon.begin() + offset, c.changes.icon.begin() + offset + size));
            }
        }
        // Replaced, never duplicated: one version resource, the configured one when there is one.
        ASSERT_EQ(std::count_if(leaves->begin(), leaves->end(), isVersion), 1);
        if (c.changes.version) {
            EXPECT_EQ(wrestool(written, "--raw --type=16 --name=1"), buildVersionResource(*c.changes.version));
            const auto leaf = std::find_if(leaves->begin(), leaves->end(), isVersion);
            const auto read = readVersionResource(*readPeResource(image, *pe, *leaf, &error), error);
            ASSERT_TRUE(read) << error;
            EXPECT_EQ(versionText(read->fileVersion), "1.2.3.4");
            EXPECT_EQ(versionText(read->productVersion), "1.2.0.0");
            EXPECT_EQ(read->strings, (std::map<std::string, std::string>{{"CompanyName", "Acme Tools"},
                                                                         {"FileDescription", "Trip planner"},
                                                                         {"FileVersion", "1.2.3.4"},
                                                                         {"LegalCopyright", "(c) Acme ?"},
                                                                         {"ProductName", "Stroller"},
                                                                         {"ProductVersion", "1.2"}}));
        }
        if (!c.changes.splash.empty()) {
            EXPECT_EQ(wrestool(written, "--raw --type=10 --name=10000"), c.changes.splash);
        }
        const std::string listing = work_.string() + "/listing";
        ASSERT_EQ(std::system(("wrestool -l '" + written.string() + "' > '" + listing + "'").c_str()), 0);
        const std::vector<uint8_t> text = readFile(listing);
        const std::string lines(text.begin(), text.end());
        EXPECT_NE(lines.find("--type=24"), std::string::npos) << lines;  // the manifest
        EXPECT_NE(lines.find("--type=5"), std::string::npos) << lines;   // the error dialog
    }
}

TEST_P(RewrittenTemplate, RefusesAnImageThatAlreadyCarriesData) {
    std::vector<uint8_t> image = original_;
    image.push_back(0);
    std::string error;
    EXPECT_FALSE(writeResourceChanges(image, {{}, VersionInfo{}, {}}, error));
    EXPECT_NE(error.find("data after its last section"), std::string::npos) << error;
    EXPECT_EQ(image.size(), original_.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(Templates, RewrittenTemplate,
                         ::testing::Values(Template{"guilauncher64.exe"}, Template{"guilauncher32.exe"},
                                           Template{"svclauncher64.exe"}, Template{"svclauncher32.exe"}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace

#include "core/PeImage.h"
#include "support/FakePeImage.h"

#include <gtest/gtest.h>

namespace {

TEST(PeImageTest, ReadsMachineSubsystemSectionsAndImports) {
    for (bool pe32Plus : {true, false}) {
        SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
        FakePeOptions options;
        options.pe32Plus = pe32Plus;
        options.subsystem = PeImage::kSubsystemConsole;
        options.importedDlls = {"KERNEL32.dll", "msvcrt.dll"};
        const std::vector<uint8_t> bytes = makeFakePeImage(options);
        std::string error;
        auto image = parsePeImage(bytes, &error);
        ASSERT_TRUE(image) << error;
        EXPECT_EQ(image->machine, pe32Plus ? PeImage::kMachineAmd64 : PeImage::kMachineI386);
        EXPECT_EQ(image->subsystem, PeImage::kSubsystemConsole);
        EXPECT_EQ(image->importedDlls, options.importedDlls);
        ASSERT_EQ(image->sections.size(), 2u);
        EXPECT_EQ(image->sections[1].name, ".rsrc");
        EXPECT_EQ(image->endOfLastSection(), bytes.size());
    }
}

TEST(PeImageTest, RefusesWhatIsNotAPeImage) {
    const std::vector<uint8_t> good = makeFakePeImage();
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"text", std::vector<uint8_t>(200, 'a')});
    std::vector<uint8_t> noSignature = good;
    noSignature[0x80] = 'X';
    cases.push_back({"no PE signature", noSignature});
    std::vector<uint8_t> farHeader = good;
    farHeader[60] = 0xFF;
    farHeader[61] = 0xFF;
    cases.push_back({"e_lfanew beyond the file", farHeader});
    cases.push_back({"cut in the section table", std::vector<uint8_t>(good.begin(), good.begin() + 0x80 + 24 + 240 + 50)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(parsePeImage(c.bytes, &error));
        EXPECT_FALSE(error.empty());
    }
}

// The machine alone, from as many leading bytes of a file as were read.
TEST(PeImageTest, MachineComesFromTheLeadingBytesAlone) {
    FakePeOptions x86;
    x86.pe32Plus = false;
    const std::vector<uint8_t> image64 = makeFakePeImage();
    const std::vector<uint8_t> image32 = makeFakePeImage(x86);
    const auto first = [](const std::vector<uint8_t>& bytes, size_t count) {
        return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
    };
    std::vector<uint8_t> farHeader = image64;
    farHeader[60] = 0x00;
    farHeader[61] = 0x10;  // e_lfanew 4096: past the end of these bytes
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::optional<uint16_t> machine;
    } cases[] = {
        {"64-bit image", image64, PeImage::kMachineAmd64},
        {"32-bit image", image32, PeImage::kMachineI386},
        {"headers only: signature and file header", first(image64, 0x80 + 24), PeImage::kMachineAmd64},
        {"cut inside the file header", first(image64, 0x80 + 23), std::nullopt},
        {"no MZ", std::vector<uint8_t>(512, 0), std::nullopt},
        {"headers beyond the bytes", farHeader, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(peMachine(c.bytes), c.machine) << c.name;
}

}  // namespace

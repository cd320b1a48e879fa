// Checks the finished launcher templates in the dist directory: what they link
// against, that nothing but sections is in the file, the resources the
// launchers load at run time (manifest, icon, error dialog) and the product's
// version information. And the two builds of launchergen in dist/: what they
// need to run.
#include "core/LittleEndian.h"
#include "core/PeImage.h"
#include "support/PeResources.h"
#include "support/TestFiles.h"
#include "support/VersionResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

struct Template {
    const char* file;
    uint16_t machine;
    uint16_t subsystem;
    const char* manifestArch;
    bool importsCommonControls;  // only the GUI launcher shows windows of its own
};

void PrintTo(const Template& t, std::ostream* os) { *os << t.file; }

const Template kTemplates[] = {
    {"guilauncher64.exe", PeImage::kMachineAmd64, PeImage::kSubsystemGui, "amd64", true},
    {"guilauncher32.exe", PeImage::kMachineI386, PeImage::kSubsystemGui, "x86", true},
    {"svclauncher64.exe", PeImage::kMachineAmd64, PeImage::kSubsystemConsole, "amd64", false},
    {"svclauncher32.exe", PeImage::kMachineI386, PeImage::kSubsystemConsole, "x86", false},
};

bool isSystemDll(const std::string& dll) {
    static const char* const kAllowed[] = {"kernel32.dll", "user32.dll",   "advapi32.dll", "comctl32.dll",
                                           "msvcrt.dll",   "shell32.dll",  "gdi32.dll",    "ole32.dll",
                                           "shlwapi.dll",  "version.dll",  "ucrtbase.dll"};
    const std::string name = lowered(dll);
    if (name.starts_with("api-ms-win-crt-") && name.ends_with(".dll")) return true;
    return std::find(std::begin(kAllowed), std::end(kAllowed), name) != std::end(kAllowed);
}

// A Windows program must run on a bare Windows: system DLLs only, among them
// KERNEL32, and none of the toolchain's runtime libraries.
void expectOnlySystemDlls(const PeImage& image) {
    ASSERT_FALSE(image.importedDlls.empty());
    EXPECT_TRUE(std::any_of(image.importedDlls.begin(), image.importedDlls.end(),
                            [](const std::string& dll) { return lowered(dll) == "kernel32.dll"; }));
    for (const std::string& dll : image.importedDlls) {
        const std::string name = lowered(dll);
        for (const char* runtime : {"libstdc++", "libgcc", "libwinpthread"})
            EXPECT_FALSE(name.starts_with(runtime)) << dll << ": the toolchain runtime must be linked statically";
        EXPECT_TRUE(isSystemDll(dll)) << dll << " is not a DLL that every Windows installation has";
    }
}

// The product's version as the file VERSION holds it, the one place it is written.
std::string productVersion() {
    std::string text = readFile(LAUNCHER_VERSION_FILE);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

// Bounds-checked little-endian reader over a resource's bytes. Reading past
// the end clears ok() and yields zeros.
class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    size_t position() const { return at_; }
    void alignTo4() { at_ = (at_ + 3) & ~size_t{3}; }
    uint8_t u8() { return has(1) ? bytes_[at_++] : 0; }
    uint16_t u16() { return next<uint16_t>(); }
    uint32_t u32() { return next<uint32_t>(); }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    // A zero-terminated UTF-16 string, narrowed ('?' for anything beyond ASCII).
    std::string text() {
        std::string result;
        for (uint16_t c = u16(); ok_ && c != 0; c = u16()) result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return result;
    }
    // sz_Or_Ord: nothing (0), an ordinal (0xFFFF then the value) or a string.
    std::string textOrOrdinal() {
        if (!has(2)) return text();
        const uint16_t first = loadLittleEndian<uint16_t>(bytes_.data() + at_);
        if (first == 0xFFFF) {
            u16();
            std::string ordinal = "#";
            ordinal += std::to_string(u16());
            return ordinal;
        }
        return text();
    }
    void skip(size_t count) { at_ = has(count) ? at_ + count : (ok_ = false, bytes_.size()); }

private:
    template <typename T>
    T next() {
        if (!has(sizeof(T))) return 0;
        const T value = loadLittleEndian<T>(bytes_.data() + at_);
        at_ += sizeof(T);
        return value;
    }
    bool has(size_t count) {
        if (at_ <= bytes_.size() && count <= bytes_.size() - at_) return true;
        ok_ = false;
        return false;
    }

    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

struct DialogItem {
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t id = 0;
    std::string windowClass, text;
};

struct DialogEx {
    uint16_t version = 0, signature = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, windowClass, title;
    uint16_t pointSize = 0;
    std::string typeface;
    std::vector<DialogItem> items;
};

constexpr uint32_t kDsSetFont = 0x40;

std::optional<DialogEx> parseDialogEx(std::span<const uint8_t> bytes) {
    Cursor in(bytes);
    DialogEx dialog;
    dialog.version = in.u16();
    dialog.signature = in.u16();
    if (dialog.version != 1 || dialog.signature != 0xFFFF) return std::nullopt;
    in.u32();  // help id
    in.u32();  // extended style
    dialog.style = in.u32();
    const uint16_t itemCount = in.u16();
    dialog.x = in.i16(), dialog.y = in.i16(), dialog.cx = in.i16(), dialog.cy = in.i16();
    dialog.menu = in.textOrOrdinal();
    dialog.windowClass = in.textOrOrdinal();
    dialog.title = in.text();
    if (dialog.style & kDsSetFont) {
        dialog.pointSize = in.u16();
        in.u16();  // weight
        in.u8();   // italic
        in.u8();   // charset
        dialog.typeface = in.text();
    }
    for (uint16_t i = 0; i < itemCount && in.ok(); ++i) {
        in.alignTo4();
        DialogItem item;
        in.u32();  // help id
        in.u32();  // extended style
        item.style = in.u32();
        item.x = in.i16(), item.y = in.i16(), item.cx = in.i16(), item.cy = in.i16();
        item.id = in.u32();
        item.windowClass = in.textOrOrdinal();
        item.text = in.textOrOrdinal();
        in.skip(in.u16());  // creation data
        dialog.items.push_back(item);
    }
    if (!in.ok()) return std::nullopt;
    return dialog;
}

class TemplateTest : public testing::TestWithParam<Template> {
protected:
    void SetUp() override {
        const std::string path = std::string(LAUNCHER_DIST_DIR) + "/" + GetParam().file;
        bytes_ = readBytes(path);
        ASSERT_FALSE(bytes_.empty()) << path << " is missing or empty: build the win64 and win32 presets first "
                                     << "(cmake --preset win64 && cmake --build --preset win64, same for win32)";
        std::string error;
        auto image = parsePeImage(bytes_, &error);
        ASSERT_TRUE(image) << path << ": " << error;
        image_ = *image;
    }

    std::vector<PeResourceLeaf> resources() {
        std::string error;
        auto leaves = listPeResources(bytes_, image_, &error);
        EXPECT_TRUE(leaves) << error;
        return leaves ? *leaves : std::vector<PeResourceLeaf>{};
    }

    std::span<const uint8_t> dataOf(const PeResourceLeaf& leaf) {
        std::string error;
        auto data = readPeResource(bytes_, image_, leaf, &error);
        EXPECT_TRUE(data) << error;
        return data ? *data : std::span<const uint8_t>{};
    }

    std::vector<uint8_t> bytes_;
    PeImage image_;
};

TEST_P(TemplateTest, ImportsOnlySystemDlls) { expectOnlySystemDlls(image_); }

TEST_P(TemplateTest, CommonControlsOnlyWhereWindowsAreShown) {
    const bool imported = std::any_of(image_.importedDlls.begin(), image_.importedDlls.end(),
                                      [](const std::string& dll) { return lowered(dll) == "comctl32.dll"; });
    EXPECT_EQ(imported, GetParam().importsCommonControls);
}

TEST_P(TemplateTest, StaysWithinItsFootprint) {
    // A launcher is downloaded and started with every application: keep the
    // C++ library's exception and formatting machinery out of it (either
    // alone would add more than the whole budget's headroom).
    constexpr size_t kFootprint = 160 * 1024;
    EXPECT_LE(bytes_.size(), kFootprint);
}

TEST_P(TemplateTest, IsStripped) {
    EXPECT_EQ(image_.symbolTableOffset, 0u);
    EXPECT_EQ(image_.symbolCount, 0u);
    for (const PeSection& section : image_.sections)
        EXPECT_FALSE(section.name.starts_with(".debug")) << section.name;
}

TEST_P(TemplateTest, EndsWithItsLastSection) {
    EXPECT_EQ(bytes_.size(), image_.endOfLastSection());
}

TEST_P(TemplateTest, HasMachineAndSubsystemOfItsKind) {
    EXPECT_EQ(image_.machine, GetParam().machine);
    EXPECT_EQ(image_.subsystem, GetParam().subsystem);
}

TEST_P(TemplateTest, ManifestAsksForCommonControls6AndNoElevation) {
    const auto leaves = resources();
    const PeResourceLeaf* manifest = findPeResource(leaves, PeResourceKey::fromId(kRtManifest), PeResourceKey::fromId(1));
    ASSERT_NE(manifest, nullptr);
    const auto data = dataOf(*manifest);
    const std::string text(data.begin(), data.end());
    const std::string arch = std::string("processorArchitecture=\"") + GetParam().manifestArch + "\"";
    for (const std::string& expected :
         {std::string("level=\"asInvoker\""), std::string("uiAccess=\"false\""),
          std::string("name=\"Microsoft.Windows.Common-Controls\""), std::string("version=\"6.0.0.0\""), arch,
          std::string("{e2011457-1546-43c5-a5fe-008deee3d3f0}"), std::string("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}")})
        EXPECT_NE(text.find(expected), std::string::npos) << "manifest lacks " << expected;
}

TEST_P(TemplateTest, IconGroupRefersToIconsThatArePresent) {
    const auto leaves = resources();
    const PeResourceLeaf* group = findPeResource(leaves, PeResourceKey::fromId(kRtGroupIcon), PeResourceKey::fromId(1));
    ASSERT_NE(group, nullptr);
    Cursor in(dataOf(*group));
    EXPECT_EQ(in.u16(), 0);  // reserved
    EXPECT_EQ(in.u16(), 1);  // icons, not cursors
    const uint16_t count = in.u16();
    EXPECT_GT(count, 0);
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        in.skip(8);  // width, height, colours, reserved, planes, bit count
        const uint32_t size = in.u32();
        const uint16_t id = in.u16();
        const PeResourceLeaf* icon = findPeResource(leaves, PeResourceKey::fromId(kRtIcon), PeResourceKey::fromId(id));
        ASSERT_NE(icon, nullptr) << "icon " << id;
        EXPECT_EQ(icon->dataSize, size) << "icon " << id;
    }
    EXPECT_TRUE(in.ok()) << "icon group cut short";
}

TEST_P(TemplateTest, ErrorDialogHasItsLayoutAndPlaceholders) {
    const auto leaves = resources();
    const PeResourceLeaf* leaf =
        findPeResource(leaves, PeResourceKey::fromId(kRtDialog), PeResourceKey::fromId(101), 1033);
    ASSERT_NE(leaf, nullptr);
    const auto dialog = parseDialogEx(dataOf(*leaf));
    ASSERT_TRUE(dialog) << "not a well-formed extended dialog template";
    EXPECT_NE(dialog->style & kDsSetFont, 0u);
    EXPECT_EQ(dialog->cx, 275);
    EXPECT_EQ(dialog->cy, 178);
    EXPECT_EQ(dialog->menu, "");
    EXPECT_EQ(dialog->windowClass, "");
    EXPECT_EQ(dialog->title, "@MSG_ERROR_DIALOG_CAPTION@");
    EXPECT_EQ(dialog->typeface, "MS Shell Dlg");
    EXPECT_EQ(dialog->pointSize, 8);

    constexpr uint32_t kChildVisible = 0x50000000;  // WS_CHILD | WS_VISIBLE
    const struct {
        uint32_t id;
        const char* windowClass;  // predefined class ordinal
        uint32_t requiredStyle;
        int16_t x, y, cx, cy;
        const char* text;
    } expected[] = {
        {1001, "#130", kChildVisible, 7, 7, 261, 12, "@MSG_ERROR_DIALOG_TEXT@"},                  // static
        {1000, "#129", kChildVisible | 0x0004 | 0x0800, 7, 21, 261, 128, ""},                     // multi-line, read-only edit
        {2, "#128", kChildVisible | 0x0001, 115, 157, 50, 14, "@MSG_ERROR_DIALOG_OK@"},           // default push button
    };
    ASSERT_EQ(dialog->items.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const DialogItem& item = dialog->items[i];
        SCOPED_TRACE("control " + std::to_string(expected[i].id));
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.windowClass, expected[i].windowClass);
        EXPECT_EQ(item.style & expected[i].requiredStyle, expected[i].requiredStyle);
        EXPECT_EQ(item.x, expected[i].x);
        EXPECT_EQ(item.y, expected[i].y);
        EXPECT_EQ(item.cx, expected[i].cx);
        EXPECT_EQ(item.cy, expected[i].cy);
        EXPECT_EQ(item.text, expected[i].text);
    }
}

// One version resource, the product's: numbers and texts from the file VERSION.
// A launcher keeps it unless its configuration replaces it.
TEST_P(TemplateTest, CarriesTheProductVersion) {
    const auto leaves = resources();
    std::vector<const PeResourceLeaf*> versions;
    for (const PeResourceLeaf& leaf : leaves)
        if (leaf.type == PeResourceKey::fromId(kRtVersion)) versions.push_back(&leaf);
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(versions[0]->name, PeResourceKey::fromId(1));
    std::string error;
    const auto version = readVersionResource(dataOf(*versions[0]), error);
    ASSERT_TRUE(version) << error;

    const std::string expected = productVersion();
    ASSERT_FALSE(expected.empty()) << LAUNCHER_VERSION_FILE;
    std::string fourNumbers = expected;
    while (std::count(fourNumbers.begin(), fourNumbers.end(), '.') < 3) fourNumbers += ".0";
    EXPECT_EQ(versionText(version->fileVersion), fourNumbers);
    EXPECT_EQ(versionText(version->productVersion), fourNumbers);
    // No FileDescription: where Windows shows one, a launcher shows its file name instead.
    EXPECT_EQ(version->strings, (std::map<std::string, std::string>{
                                    {"FileVersion", expected}, {"ProductName", "jlaunchkit"}, {"ProductVersion", expected}}));
}

INSTANTIATE_TEST_SUITE_P(Dist, TemplateTest, testing::ValuesIn(kTemplates),
                         [](const testing::TestParamInfo<Template>& info) {
                             const std::string file = info.param.file;
                             return file.substr(0, file.find('.'));
                         });

// launchergen.exe, the generator for Windows: an x86-64 console program that
// runs on a bare Windows like the templates.
TEST(DistGenerator, WindowsBuildImportsOnlySystemDlls) {
    const std::filesystem::path path = std::filesystem::path(LAUNCHER_DIST_DIR) / "launchergen.exe";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not built (the win64 preset builds it)";
    const std::vector<uint8_t> bytes = readBytes(path);
    std::string error;
    const auto image = parsePeImage(bytes, &error);
    ASSERT_TRUE(image) << path << ": " << error;
    EXPECT_EQ(image->machine, PeImage::kMachineAmd64);
    EXPECT_EQ(image->subsystem, PeImage::kSubsystemConsole);
    expectOnlySystemDlls(*image);
}

// The Linux build carries the C++ library and the compiler's runtime inside:
// it needs the C library only, of a version that Ubuntu 22.04 and Debian 12
// have (glibc 2.35).
TEST(DistGenerator, LinuxBuildNeedsOnlyTheCLibrary) {
    const std::filesystem::path path = std::filesystem::path(LAUNCHER_DIST_DIR) / "launchergen";
    ASSERT_TRUE(std::filesystem::exists(path)) << path << " is missing: the host build copies it there";
    std::string listing;
    if (FILE* pipe = ::popen(("objdump -p -T '" + path.string() + "' 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) listing.append(buffer, n);
        ASSERT_EQ(::pclose(pipe), 0) << listing;
    }
    std::vector<std::string> needed;
    int newestGlibc = 0;  // the minor version of the newest GLIBC_2.x symbol version asked for
    std::istringstream words(listing);
    for (std::string word; words >> word;) {
        if (word == "NEEDED" && words >> word) needed.push_back(word);
        if (word.starts_with("(GLIBC_2.")) newestGlibc = std::max(newestGlibc, std::atoi(word.c_str() + 9));
    }
    ASSERT_FALSE(needed.empty()) << listing;
    for (const std::string& library : needed)
        EXPECT_TRUE(library == "libc.so.6" || library == "libm.so.6" || library == "ld-linux-x86-64.so.2")
            << library << " would have to be installed";
    EXPECT_GT(newestGlibc, 0) << listing;
    EXPECT_LE(newestGlibc, 35) << "needs glibc 2." << newestGlibc << ", newer than Ubuntu 22.04's";
}

}  // namespace

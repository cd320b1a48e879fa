#pragma once

#include "ResourceTree.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The resources that the generator writes into a launcher: its icon, its
// version information and the splash image.
namespace resources {

// The templates' icon group (IDI_LAUNCHER) and the splash image's id.
constexpr uint16_t kLauncherIconGroup = 1;
constexpr uint16_t kSplashImageId = 10000;
constexpr uint16_t kVersionId = 1;
constexpr uint16_t kLanguageEnglishUs = 0x0409;

struct VersionInfo {
    std::array<uint16_t, 4> fileVersion{};
    std::array<uint16_t, 4> productVersion{};
    // The texts shown by Windows; each may be empty (then left out).
    std::string fileVersionText, productVersionText, productName, company, description, copyright;
};

struct ResourceChanges {
    std::vector<uint8_t> icon;    // an .ico file; replaces the template's icon when not empty
    std::optional<VersionInfo> version;
    std::vector<uint8_t> splash;  // the splash image; written when not empty

    bool empty() const { return icon.empty() && !version && splash.empty(); }
};

// "1", "1.2", "1.2.3" or "1.2.3.4", each part 0..65535; missing parts are 0.
std::optional<std::array<uint16_t, 4>> parseVersionNumber(std::string_view text);

// Checks an .ico file: its header, and every image inside the file. Returns
// the number of images, or nothing with `error` set.
std::optional<size_t> checkIconFile(std::span<const uint8_t> ico, std::string& error);

// Checks that `image` is a GIF, PNG, JPEG or BMP image, the kinds the
// runtime's splash library shows.
bool checkSplashImage(std::span<const uint8_t> image, std::string& error);

// The RT_VERSION resource data (VS_VERSIONINFO, US English, Unicode).
std::vector<uint8_t> buildVersionResource(const VersionInfo& version);

// Applies `changes` to `resources`: the icon replaces every icon and icon
// group, the version information and the splash image replace their
// namesakes. The icon file must have passed checkIconFile.
void applyResourceChanges(std::vector<Resource>& resources, const ResourceChanges& changes);

// Reads the resources of a template image, applies `changes` and writes them back.
bool writeResourceChanges(std::vector<uint8_t>& image, const ResourceChanges& changes, std::string& error);

}  // namespace resources

#pragma once

#include "core/ConfigKeys.h"
#include "core/PayloadFormat.h"
#include "LauncherResources.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Writes launchers: a copy of a template with a payload appended. The output
// file appears only when everything succeeded; on any error it does not exist.
namespace payload {

struct EmbeddedFile {
    std::string name;              // name in the launcher's temporary directory, e.g. "lib\\app.jar"
    std::filesystem::path source;  // file whose bytes are embedded
};

struct LauncherPayload {
    ConfigurationRecord record;
    std::vector<EmbeddedFile> files;
    resources::ResourceChanges resources;  // written into the template's resources first
};

// The configuration record exactly as it goes into the file.
std::vector<uint8_t> encodeConfigurationRecord(const ConfigurationRecord& record);

// Writes the payload's resource changes into a copy of `templatePath`,
// appends `payload` to it and writes it to `outputPath`.
// Fills the header long (bytes from offset 12 to the end of the last embedded
// file) and header word B (a checksum of the record), and keys 2002/2003 when
// files are embedded and the record lacks them. Returns false with `error`
// set on a missing or unreadable template, a template that is not a PE image
// or has data after its last section, or an unreadable embedded file.
bool writeLauncher(const std::filesystem::path& templatePath, const LauncherPayload& payload,
                   const std::filesystem::path& outputPath, std::string& error);

// Appends raw payload bytes to a copy of a template, with the same template
// checks. For payloads that are damaged on purpose.
bool writeLauncherWithRawPayload(const std::filesystem::path& templatePath,
                                 const std::vector<uint8_t>& payloadBytes,
                                 const std::filesystem::path& outputPath, std::string& error);

}  // namespace payload

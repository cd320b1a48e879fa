#include "PayloadDump.h"

#include "PayloadWriter.h"
#include "Utf.h"
#include "core/ConfigKeys.h"
#include "core/ConfigRecordReader.h"
#include "core/ConfigStore.h"
#include "core/LittleEndian.h"
#include "core/MemoryByteSource.h"
#include "core/PathText.h"
#include "core/PayloadLocator.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace payload {
namespace {

const std::string* narrowValue(const ConfigurationRecord& record, int32_t key) {
    const std::string* found = nullptr;  // the later entry of a key wins
    for (const NarrowEntry& entry : record.narrowEntries)
        if (entry.key == key) found = &entry.value;
    return found;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '"') out += "\\\"";
        else out += c;
    }
    return out + "\"";
}

// "107 (launcherKind)" for catalogued keys, the bare number otherwise.
std::string keyLabel(int32_t key) {
    const config::KeyInfo* info = config::findKey(key);
    return info ? std::to_string(key) + " (" + std::string(info->name) + ")" : std::to_string(key);
}

void describeWide(std::ostringstream& out, const std::vector<WideEntry>& entries, const char* indent) {
    for (const WideEntry& entry : entries)
        out << indent << keyLabel(entry.key) << " = " << quoted(utf16ToUtf8(entry.value)) << "\n";
}

}  // namespace

bool readLauncher(const std::filesystem::path& path, LauncherContents& contents, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + pathText(path);
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MemoryByteSource source(bytes);
    PayloadReader reader(source);
    if (!seekPayload(reader)) {
        error = reader.failure();
        return false;
    }
    contents.payloadOffset = reader.position();
    if (!readConfigurationRecord(reader, contents.record)) {
        error = reader.failure();
        return false;
    }
    contents.embeddedStart = reader.position();

    const std::string* countText = narrowValue(contents.record, config::kEmbeddedFileCount);
    const std::string* namesText = narrowValue(contents.record, config::kEmbeddedFileNames);
    // The launcher's own integer rule: with any other parser the dump could
    // announce a different number of files than the launcher acts on.
    contents.announcedFiles = countText ? parseConfigInt(*countText) : 0;
    const std::vector<std::string> names = namesText ? splitPathList(*namesText) : std::vector<std::string>{};
    uint64_t at = contents.embeddedStart;
    for (int32_t i = 0; i < contents.announcedFiles && at + 8 <= bytes.size(); ++i) {
        EmbeddedRecord file;
        file.name = static_cast<size_t>(i) < names.size() ? names[i] : "";
        file.size = loadLittleEndian<int64_t>(bytes.data() + at);
        file.contentOffset = at + 8;
        at = file.contentOffset + (file.size > 0 ? static_cast<uint64_t>(file.size) : 0);
        contents.embeddedFiles.push_back(file);
        if (at > bytes.size()) break;
    }
    contents.trailingBytes = at < bytes.size() ? bytes.size() - at : 0;
    return true;
}

std::string describeLauncher(const LauncherContents& contents) {
    const ConfigurationRecord& record = contents.record;
    std::ostringstream out;
    out << "payload offset: " << contents.payloadOffset << "\n";
    out << "header: word A " << record.header.wordA << ", word B 0x" << std::hex
        << static_cast<uint32_t>(record.header.wordB) << std::dec << ", header long "
        << record.header.headerLong << "\n";
    out << "narrow entries: " << record.narrowEntries.size() << "\n";
    for (const NarrowEntry& entry : record.narrowEntries)
        out << "  " << keyLabel(entry.key) << " = " << quoted(entry.value) << "\n";
    out << "wide entries: " << record.wideEntries.size() << "\n";
    describeWide(out, record.wideEntries, "  ");
    out << "locale sections: " << record.localeSections.size() << "\n";
    for (const LocaleSection& section : record.localeSections) {
        out << "  [" << section.prefix << "] " << section.entries.size() << " entries\n";
        describeWide(out, section.entries, "    ");
    }
    out << "embedded files from offset " << contents.embeddedStart << ": " << contents.embeddedFiles.size() << " of "
        << contents.announcedFiles << " announced\n";
    for (const EmbeddedRecord& file : contents.embeddedFiles)
        out << "  " << (file.name.empty() ? "(unnamed)" : file.name) << ": " << file.size << " bytes at "
            << file.contentOffset << "\n";
    out << "bytes after the embedded files: " << contents.trailingBytes << "\n";
    return out.str();
}

}  // namespace payload

#include "PayloadWriter.h"

#include "Utf.h"

#include "core/LittleEndian.h"
#include "core/PayloadMask.h"
#include "core/PeImage.h"

#include <array>
#include <fstream>
#include <iterator>
#include <system_error>

namespace payload {
namespace {

namespace fs = std::filesystem;

class RecordEncoder {
public:
    void int32(int32_t value) { integer(value); }
    void int64(int64_t value) { integer(value); }

    void narrow(const std::string& text) {
        int32(static_cast<int32_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }

    void wide(const std::u16string& text) {
        int32(static_cast<int32_t>(text.size() * 2));
        for (char16_t unit : text) integer(unit);
    }

    void wideEntries(const std::vector<WideEntry>& entries) {
        int32(static_cast<int32_t>(entries.size()));
        for (const WideEntry& entry : entries) {
            int32(entry.key);
            wide(entry.value);
        }
    }

    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    template <typename T>
    void integer(T value) {
        bytes_.resize(bytes_.size() + sizeof(T));
        storeLittleEndian(bytes_.data() + bytes_.size() - sizeof(T), value);
    }

    std::vector<uint8_t> bytes_;
};

// FNV-1a over the record, so that word B differs from payload to payload.
uint32_t checksum(const std::vector<uint8_t>& bytes) {
    uint32_t hash = 2166136261u;
    for (uint8_t byte : bytes) hash = (hash ^ byte) * 16777619u;
    return hash;
}

bool readWholeFile(const fs::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool checkTemplate(const fs::path& templatePath, std::vector<uint8_t>& image, std::string& error) {
    std::error_code ec;
    if (!fs::is_regular_file(templatePath, ec)) {
        error = "template " + pathText(templatePath) + " does not exist or is not a file";
        return false;
    }
    if (!readWholeFile(templatePath, image)) {
        error = "template " + pathText(templatePath) + " cannot be read";
        return false;
    }
    std::string why;
    auto pe = parsePeImage(image, &why);
    if (!pe) {
        error = "template " + pathText(templatePath) + " is not a PE image: " + why;
        return false;
    }
    const uint64_t end = pe->endOfLastSection();
    if (end != image.size()) {
        error = "template " + pathText(templatePath) + " does not end where its last section ends (" +
                std::to_string(image.size()) + " bytes, last section ends at " + std::to_string(end) +
                "); it may already carry a payload";
        return false;
    }
    return true;
}

bool hasNarrowKey(const ConfigurationRecord& record, int32_t key) {
    for (const NarrowEntry& entry : record.narrowEntries)
        if (entry.key == key) return true;
    return false;
}

// Writes to a side file and renames it into place, so that a failure never
// leaves a half-written launcher under the output name.
class OutputFile {
public:
    explicit OutputFile(const fs::path& output) : final_(output), partial_(output) {
        partial_ += ".partial";
        stream_.open(partial_, std::ios::binary | std::ios::trunc);
    }
    ~OutputFile() {
        if (!committed_) {
            stream_.close();
            std::error_code ec;
            fs::remove(partial_, ec);
        }
    }

    bool isOpen() const { return stream_.is_open(); }
    std::ofstream& stream() { return stream_; }

    bool commit(std::string& error) {
        stream_.close();
        if (stream_.fail()) {
            error = "cannot write " + pathText(partial_);
            return false;
        }
        std::error_code ec;
        fs::rename(partial_, final_, ec);
        if (ec) {
            error = "cannot create " + pathText(final_) + ": " + ec.message();
            return false;
        }
        committed_ = true;
        return true;
    }

private:
    fs::path final_;
    fs::path partial_;
    std::ofstream stream_;
    bool committed_ = false;
};

bool startOutput(const fs::path& templatePath, const fs::path& outputPath, std::vector<uint8_t>& image,
                 std::string& error) {
    if (!checkTemplate(templatePath, image, error)) return false;
    std::error_code ec;
    if (fs::exists(outputPath, ec) && fs::equivalent(templatePath, outputPath, ec)) {
        error = "the output must not be the template itself";
        return false;
    }
    return true;
}

bool copyMasked(const fs::path& source, uint64_t size, std::ostream& out, std::string& error) {
    std::ifstream in(source, std::ios::binary);
    std::array<char, 8192> chunk;
    uint64_t left = size;
    while (in && left > 0) {
        const auto want = static_cast<std::streamsize>(std::min<uint64_t>(left, chunk.size()));
        in.read(chunk.data(), want);
        const auto got = in.gcount();
        applyEmbeddedFileMask(reinterpret_cast<uint8_t*>(chunk.data()), static_cast<size_t>(got));
        out.write(chunk.data(), got);
        left -= static_cast<uint64_t>(got);
    }
    if (left != 0) {
        error = "embedded file " + pathText(source) + " could not be read completely";
        return false;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> encodeConfigurationRecord(const ConfigurationRecord& record) {
    RecordEncoder out;
    out.int32(static_cast<int32_t>(kMagic));
    out.int32(record.header.wordA);
    out.int32(record.header.wordB);
    out.int64(record.header.headerLong);
    out.int32(static_cast<int32_t>(record.narrowEntries.size()));
    for (const NarrowEntry& entry : record.narrowEntries) {
        out.int32(entry.key);
        out.narrow(entry.value);
    }
    out.wideEntries(record.wideEntries);
    out.int32(static_cast<int32_t>(record.localeSections.size()));
    for (const LocaleSection& section : record.localeSections) {
        out.narrow(section.prefix);
        out.wideEntries(section.entries);
    }
    return out.take();
}

bool writeLauncher(const fs::path& templatePath, const LauncherPayload& payload, const fs::path& outputPath,
                   std::string& error) {
    std::vector<uint8_t> image;
    if (!startOutput(templatePath, outputPath, image, error)) return false;
    if (!payload.resources.empty() && !resources::writeResourceChanges(image, payload.resources, error)) {
        error = pathText(templatePath) + ": " + error;
        return false;
    }

    std::vector<uint64_t> sizes;
    for (const EmbeddedFile& file : payload.files) {
        std::error_code ec;
        const uint64_t size = fs::file_size(file.source, ec);
        if (ec || !std::ifstream(file.source, std::ios::binary)) {
            error = "embedded file " + pathText(file.source) + " cannot be read";
            return false;
        }
        sizes.push_back(size);
    }

    ConfigurationRecord record = payload.record;
    if (!payload.files.empty() && !hasNarrowKey(record, config::kEmbeddedFileCount) &&
        !hasNarrowKey(record, config::kEmbeddedFileNames)) {
        std::string names;
        for (const EmbeddedFile& file : payload.files) names += file.name + ";";
        record.narrowEntries.push_back({config::kEmbeddedFileCount, std::to_string(payload.files.size())});
        record.narrowEntries.push_back({config::kEmbeddedFileNames, names});
    }

    std::vector<uint8_t> bytes = encodeConfigurationRecord(record);
    uint64_t headerLong = bytes.size() - kHeaderLongCountsFrom;
    for (uint64_t size : sizes) headerLong += 8 + size;
    storeLittleEndian(bytes.data() + 12, headerLong);
    storeLittleEndian(bytes.data() + 8, checksum(bytes));

    OutputFile output(outputPath);
    if (!output.isOpen()) {
        error = "cannot create " + pathText(outputPath);
        return false;
    }
    std::ostream& out = output.stream();
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    for (size_t i = 0; i < payload.files.size(); ++i) {
        std::array<uint8_t, 8> sizeField{};
        storeLittleEndian(sizeField.data(), sizes[i]);
        out.write(reinterpret_cast<const char*>(sizeField.data()), sizeField.size());
        if (!copyMasked(payload.files[i].source, sizes[i], out, error)) return false;
    }
    return output.commit(error);
}

bool writeLauncherWithRawPayload(const fs::path& templatePath, const std::vector<uint8_t>& payloadBytes,
                                 const fs::path& outputPath, std::string& error) {
    std::vector<uint8_t> image;
    if (!startOutput(templatePath, outputPath, image, error)) return false;
    OutputFile output(outputPath);
    if (!output.isOpen()) {
        error = "cannot create " + pathText(outputPath);
        return false;
    }
    output.stream().write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    output.stream().write(reinterpret_cast<const char*>(payloadBytes.data()),
                          static_cast<std::streamsize>(payloadBytes.size()));
    return output.commit(error);
}

}  // namespace payload

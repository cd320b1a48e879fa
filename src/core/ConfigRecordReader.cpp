#include "core/ConfigRecordReader.h"

namespace payload {

bool readRecordHeader(PayloadReader& reader, Header& header) {
    int32_t magic;
    if (!reader.readInt(magic)) return false;
    if (static_cast<uint32_t>(magic) != kMagic) return reader.fail("Internal Error: magic");
    return reader.readInt(header.wordA) && reader.readInt(header.wordB) &&
           reader.readLong(header.headerLong);
}

namespace {

// A count, then that many entries of a key and a value; a count of zero or
// less reads nothing more.
template <typename Entry, typename ReadValue>
bool readEntries(PayloadReader& reader, std::vector<Entry>& entries, ReadValue readValue) {
    int32_t count;
    if (!reader.readInt(count)) return false;
    for (int32_t i = 0; i < count; ++i) {
        Entry entry;
        if (!reader.readInt(entry.key) || !(reader.*readValue)(entry.value)) return false;
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace

bool readNarrowEntries(PayloadReader& reader, std::vector<NarrowEntry>& entries) {
    return readEntries(reader, entries, &PayloadReader::readString);
}

bool readWideEntries(PayloadReader& reader, std::vector<WideEntry>& entries) {
    return readEntries(reader, entries, &PayloadReader::readWString);
}

bool readLocaleSections(PayloadReader& reader, std::vector<LocaleSection>& sections) {
    int32_t count;
    if (!reader.readInt(count)) return false;
    for (int32_t i = 0; i < count; ++i) {
        LocaleSection section;
        if (!reader.readString(section.prefix)) return false;
        if (!readWideEntries(reader, section.entries)) return false;
        sections.push_back(std::move(section));
    }
    return true;
}

bool readConfigurationRecord(PayloadReader& reader, ConfigurationRecord& record) {
    return readRecordHeader(reader, record.header) &&
           readNarrowEntries(reader, record.narrowEntries) &&
           readWideEntries(reader, record.wideEntries) &&
           readLocaleSections(reader, record.localeSections);
}

}  // namespace payload

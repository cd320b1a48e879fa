#include "core/ConfigLoader.h"

#include "core/ConfigRecordReader.h"
#include "core/ConfigStore.h"
#include "core/Locale.h"
#include "core/PayloadLocator.h"

bool localeSectionMatches(std::string_view prefix, std::string_view localeString) {
    // The prefix is a C string: a zero byte inside it ends it.
    prefix = prefix.substr(0, prefix.find('\0'));
    return localeString.substr(0, prefix.size()) == prefix;
}

ConfigurationLoadResult loadConfigurationFrom(ByteSource& source, const Callback<std::string()>& detectLocale) {
    ConfigurationLoadResult result;
    PayloadReader reader(source);
    payload::Header header;
    if (!seekPayload(reader) || !payload::readRecordHeader(reader, header)) {
        result.failure = reader.failure();
        return result;
    }

    // Every entry is stored as soon as it has been read, also when a later
    // one fails: the message of that failure then has its caption (key 1000).
    std::vector<payload::NarrowEntry> narrowEntries;
    const bool narrowRead = payload::readNarrowEntries(reader, narrowEntries);
    for (payload::NarrowEntry& entry : narrowEntries) storeNarrowValue(entry.key, std::move(entry.value));
    std::vector<payload::WideEntry> wideEntries;
    const bool wideRead = narrowRead && payload::readWideEntries(reader, wideEntries);
    for (payload::WideEntry& entry : wideEntries) storeWideValue(entry.key, std::move(entry.value));
    if (!wideRead) {
        result.failure = reader.failure();
        return result;
    }

    result.localeString = detectLocale();
    splitLocale(result.localeString);

    std::vector<payload::LocaleSection> sections;
    const bool sectionsRead = payload::readLocaleSections(reader, sections);
    for (payload::LocaleSection& section : sections) {
        if (!localeSectionMatches(section.prefix, result.localeString)) continue;
        for (payload::WideEntry& entry : section.entries) storeWideValue(entry.key, std::move(entry.value));
    }
    if (!sectionsRead) {
        result.failure = reader.failure();
        return result;
    }
    result.extractionStart = reader.position();
    return result;
}

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

ConfigurationLoadResult loadConfigurationFrom(ByteSource& source, const std::function<std::string()>& detectLocale) {
    ConfigurationLoadResult result;
    PayloadReader reader(source);
    payload::Header header;
    std::vector<payload::NarrowEntry> narrowEntries;
    std::vector<payload::WideEntry> wideEntries;
    if (!seekPayload(reader) || !payload::readRecordHeader(reader, header) ||
        !payload::readNarrowEntries(reader, narrowEntries)) {
        result.failure = reader.failure();
        return result;
    }
    for (payload::NarrowEntry& entry : narrowEntries) storeNarrowValue(entry.key, std::move(entry.value));
    if (!payload::readWideEntries(reader, wideEntries)) {
        result.failure = reader.failure();
        return result;
    }
    for (payload::WideEntry& entry : wideEntries) storeWideValue(entry.key, std::move(entry.value));

    result.localeString = detectLocale();
    splitLocale(result.localeString);

    std::vector<payload::LocaleSection> sections;
    if (!payload::readLocaleSections(reader, sections)) {
        result.failure = reader.failure();
        return result;
    }
    for (payload::LocaleSection& section : sections) {
        if (!localeSectionMatches(section.prefix, result.localeString)) continue;
        for (payload::WideEntry& entry : section.entries) storeWideValue(entry.key, std::move(entry.value));
    }
    result.extractionStart = reader.position();
    return result;
}

#pragma once

#include "core/PayloadFormat.h"
#include "core/PayloadReader.h"

// Reads the configuration record block by block, so that the launcher can
// detect its locale between the wide entries and the locale sections. Every
// step returns false with the reader's failure set; blocks read before a
// failure stay in the record. A count of zero or less means an empty block.
namespace payload {

// Magic and the three header fields ("Internal Error: magic" on a wrong magic).
bool readRecordHeader(PayloadReader& reader, Header& header);
bool readNarrowEntries(PayloadReader& reader, std::vector<NarrowEntry>& entries);
bool readWideEntries(PayloadReader& reader, std::vector<WideEntry>& entries);
bool readLocaleSections(PayloadReader& reader, std::vector<LocaleSection>& sections);

// All four steps in order; the reader then stands at the first embedded file.
bool readConfigurationRecord(PayloadReader& reader, ConfigurationRecord& record);

}  // namespace payload

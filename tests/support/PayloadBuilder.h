#pragma once

#include "PayloadWriter.h"
#include "core/ConfigKeys.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// A launcher payload put together key by key, with the key catalogue's names:
//
//   PayloadBuilder().set(config::kLauncherKind, "1").set(config::kMainClass, "Main").embed("app.jar", jar)
//
// set() gives a key one value: it replaces the key's earlier entry of the same
// width (narrow or wide), so a test can change one value of a shared base
// payload. add() appends another entry, for tests about records that carry a
// key twice. Integer keys take their value as text, exactly as the record
// stores it, so a test can also write values that are not plain numbers.
class PayloadBuilder {
public:
    PayloadBuilder& set(int32_t key, std::string value) {
        for (payload::NarrowEntry& entry : payload_.record.narrowEntries)
            if (entry.key == key) {
                entry.value = std::move(value);
                return *this;
            }
        return add(key, std::move(value));
    }
    PayloadBuilder& set(int32_t key, std::u16string value) {
        for (payload::WideEntry& entry : payload_.record.wideEntries)
            if (entry.key == key) {
                entry.value = std::move(value);
                return *this;
            }
        payload_.record.wideEntries.push_back({key, std::move(value)});
        return *this;
    }
    // The launcher of most scenarios: it takes the stand-in runtime from "jre"
    // beside it (any version from 1.6 on) and the bootstrap class from the
    // "classes" directory beside it.
    PayloadBuilder& withBundledStandIn() {
        return set(config::kJvmSearchSequence, "Rjre")
            .set(config::kMinVersion, "1.6")
            .set(config::kClassPath, "D0classes;");
    }
    PayloadBuilder& add(int32_t key, std::string value) {
        payload_.record.narrowEntries.push_back({key, std::move(value)});
        return *this;
    }
    // A locale section: wide values that replace the base ones for locales
    // starting with `prefix`. Sections are kept in the order given.
    PayloadBuilder& locale(std::string prefix, std::vector<payload::WideEntry> entries) {
        payload_.record.localeSections.push_back({std::move(prefix), std::move(entries)});
        return *this;
    }
    // A file embedded under `name` (its name in the temporary directory).
    PayloadBuilder& embed(std::string name, std::filesystem::path source) {
        payload_.files.push_back({std::move(name), std::move(source)});
        return *this;
    }

    // Resources written into the template before the payload is appended.
    PayloadBuilder& resources(resources::ResourceChanges changes) {
        payload_.resources = std::move(changes);
        return *this;
    }

    const payload::ConfigurationRecord& record() const { return payload_.record; }
    const payload::LauncherPayload& payload() const { return payload_; }
    operator const payload::LauncherPayload&() const { return payload_; }
    // The record alone, exactly as it goes into the file.
    std::vector<uint8_t> encodedRecord() const { return payload::encodeConfigurationRecord(payload_.record); }

private:
    payload::LauncherPayload payload_;
};

#include "core/ConfigStore.h"

#include "core/BufferCapacity.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace {

// A payload holds a few dozen values, each looked up a few times: a list
// serves as well as a tree, in less code. Storing only appends and a look-up
// takes the last value of its key, so a payload of millions of entries costs
// time in proportion to its size, never to its square.
template <typename Value>
struct KeyedValue {
    int32_t key;
    Value value;
};

template <typename Value>
using ValueList = std::vector<KeyedValue<Value>>;

// The store of the process. Empty lists need no code to set them up, so it is
// ready before anything runs and outlives everything that could still read it.
struct Store {
    ValueList<std::string> narrow;
    ValueList<std::u16string> wide;
};
Store configuration;

ValueList<std::string>& narrowValues() { return configuration.narrow; }
ValueList<std::u16string>& wideValues() { return configuration.wide; }

template <typename Value>
Value* valueOf(ValueList<Value>& list, int32_t key) {
    for (size_t i = list.size(); i-- > 0;)
        if (list[i].key == key) return &list[i].value;
    return nullptr;
}

template <typename Value>
void store(ValueList<Value>& list, int32_t key, Value value) {
    list.push_back({key, std::move(value)});
}

template <typename Char>
void copyBounded(const std::basic_string<Char>* value, Char* buffer, size_t capacity) {
    if (capacity == 0) return;
    size_t length = 0;
    if (value != nullptr) {
        // Up to the first zero, as the stored C string would end there.
        const size_t terminated = std::find(value->begin(), value->end(), Char(0)) - value->begin();
        length = std::min(terminated, capacity - 1);
        std::copy_n(value->data(), length, buffer);
    }
    buffer[length] = Char(0);
}

bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

void storeNarrowValue(int32_t key, std::string value) { store(narrowValues(), key, std::move(value)); }

void storeWideValue(int32_t key, std::u16string value) { store(wideValues(), key, std::move(value)); }

void clearConfigStore() {
    narrowValues().clear();
    wideValues().clear();
}

void configString(int32_t key, char* buffer, size_t capacity) {
    copyBounded(valueOf(narrowValues(), key), buffer, capacity);
}

void configWideString(int32_t key, char16_t* buffer, size_t capacity) {
    copyBounded(valueOf(wideValues(), key), buffer, capacity);
}

bool hasConfigString(int32_t key) { return valueOf(narrowValues(), key) != nullptr; }

int32_t parseConfigInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLimit);
    const int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t configInt(int32_t key) {
    // Read through the same buffer size as every other caller.
    char buffer[kBufferCapacity];
    configString(key, buffer, sizeof buffer);
    return parseConfigInt(buffer);
}

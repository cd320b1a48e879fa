#include "support/VersionResource.h"

#include "core/ByteView.h"

#include <vector>

namespace {

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr uint32_t kFixedFileInfoSize = 52;
constexpr uint16_t kTextValue = 1;

uint64_t alignTo4(uint64_t offset) { return (offset + 3) & ~uint64_t{3}; }

// One node: wLength, wValueLength, wType, the key, then the value and the
// children, each on a 4-byte boundary.
struct Node {
    std::string key;
    uint64_t value = 0;
    uint64_t valueBytes = 0;
    uint64_t children = 0;
    uint64_t end = 0;
};

std::string narrowed(const ByteView& bytes, uint64_t at, uint64_t end, uint64_t& next) {
    std::string text;
    for (; at + 2 <= end; at += 2) {
        const uint16_t c = bytes.u16(at);
        if (c == 0) {
            next = at + 2;
            return text;
        }
        text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    next = end + 1;  // no terminator before the end
    return text;
}

std::optional<Node> readNode(const ByteView& bytes, uint64_t at, uint64_t limit, std::string& error) {
    if (at + 6 > limit || !bytes.has(at, 6)) {
        error = "version node header outside its parent";
        return std::nullopt;
    }
    Node node;
    node.end = at + bytes.u16(at);
    if (node.end > limit || node.end < at + 6) {
        error = "version node length runs past its parent";
        return std::nullopt;
    }
    const uint16_t valueLength = bytes.u16(at + 2);
    const bool text = bytes.u16(at + 4) == kTextValue;
    uint64_t afterKey = 0;
    node.key = narrowed(bytes, at + 6, node.end, afterKey);
    if (afterKey > node.end) {
        error = "version node key without its terminator";
        return std::nullopt;
    }
    node.value = alignTo4(afterKey);
    node.valueBytes = text ? uint64_t{valueLength} * 2 : valueLength;
    node.children = alignTo4(node.value + node.valueBytes);
    if (node.value + node.valueBytes > node.end) {
        error = "version value of \"" + node.key + "\" runs past its node";
        return std::nullopt;
    }
    return node;
}

// The nodes below `parent`, in order.
std::optional<std::vector<Node>> children(const ByteView& bytes, const Node& parent, std::string& error) {
    std::vector<Node> nodes;
    for (uint64_t at = parent.children; at < parent.end; at = alignTo4(nodes.back().end)) {
        auto node = readNode(bytes, at, parent.end, error);
        if (!node) return std::nullopt;
        nodes.push_back(*node);
    }
    return nodes;
}

}  // namespace

std::optional<VersionResource> readVersionResource(std::span<const uint8_t> data, std::string& error) {
    const ByteView bytes(data);
    auto root = readNode(bytes, 0, bytes.size(), error);
    if (!root) return std::nullopt;
    if (root->key != "VS_VERSION_INFO" || root->valueBytes != kFixedFileInfoSize ||
        bytes.u32(root->value) != kFixedFileInfoSignature) {
        error = "not a VS_VERSIONINFO with fixed file information";
        return std::nullopt;
    }
    VersionResource result;
    const auto split = [&](uint64_t at, std::array<uint16_t, 4>& numbers) {
        const uint32_t high = bytes.u32(at), low = bytes.u32(at + 4);
        numbers = {static_cast<uint16_t>(high >> 16), static_cast<uint16_t>(high), static_cast<uint16_t>(low >> 16),
                   static_cast<uint16_t>(low)};
    };
    split(root->value + 8, result.fileVersion);
    split(root->value + 16, result.productVersion);

    const auto blocks = children(bytes, *root, error);
    if (!blocks) return std::nullopt;
    for (const Node& block : *blocks) {
        if (block.key != "StringFileInfo") continue;
        const auto tables = children(bytes, block, error);
        if (!tables) return std::nullopt;
        for (const Node& table : *tables) {
            const auto strings = children(bytes, table, error);
            if (!strings) return std::nullopt;
            for (const Node& string : *strings) {
                uint64_t next = 0;
                result.strings[string.key] = narrowed(bytes, string.value, string.value + string.valueBytes, next);
            }
        }
    }
    return result;
}

std::string versionText(const std::array<uint16_t, 4>& numbers) {
    return std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." + std::to_string(numbers[2]) + "." +
           std::to_string(numbers[3]);
}

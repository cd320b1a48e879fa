#include "service/ServiceChild.h"

#include <algorithm>

namespace {

void appendPiece(std::u16string& line, std::u16string_view piece) {
    const bool quoted = piece.find(u' ') != std::u16string_view::npos;
    if (quoted) line += u'"';
    line += piece;
    if (quoted) line += u'"';
}

}  // namespace

bool composeChildCommandLine(const std::vector<std::u16string>& ownWords, std::u16string_view serviceName,
                             const std::vector<std::u16string>& startArguments, std::u16string& out) {
    std::u16string line;
    appendPiece(line, ownWords.empty() ? std::u16string_view() : std::u16string_view(ownWords.front()));
    line += u' ';
    appendPiece(line, serviceName);
    for (size_t i = 1; i < ownWords.size(); ++i) {
        line += u' ';
        appendPiece(line, ownWords[i]);
    }
    for (const std::u16string& argument : startArguments) {
        line += u' ';
        appendPiece(line, std::u16string_view(argument).substr(0, kStartArgumentCapacity));
    }
    line += u" __btl_restart";
    if (line.size() >= kChildCommandLineCapacity) return false;
    out = std::move(line);
    return true;
}

bool isPriorityClass(uint32_t value) {
    // IDLE, BELOW_NORMAL, NORMAL, ABOVE_NORMAL, HIGH, REALTIME.
    constexpr uint32_t kClasses[] = {0x40, 0x4000, 0x20, 0x8000, 0x80, 0x100};
    return std::find(std::begin(kClasses), std::end(kClasses), value) != std::end(kClasses);
}

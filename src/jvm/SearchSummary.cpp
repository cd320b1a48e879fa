#include "jvm/SearchSummary.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr size_t kColumns = 5;
using Row = std::array<std::string, kColumns>;

std::string stepText(const SearchStep& step) {
    if (step.argument.empty()) return step.kind;
    return step.kind + " " + step.argument;
}

std::string versionText(const CandidateRecord& record) {
    if (!record.version.empty()) return record.version;
    switch (record.verdict) {
        case CandidateVerdict::NoJavaExe:
            return "-";
        case CandidateVerdict::JavaFailed:
            return "none: exit code not 0";
        case CandidateVerdict::NoVersionLine:
            return "none: no version line";
        case CandidateVerdict::JavaHung:
            return "none: no answer in time";
        default:
            return "not checked";
    }
}

std::string_view bitnessText(LibraryBitness bitness) {
    switch (bitness) {
        case LibraryBitness::NotLooked:
            return "-";
        case LibraryBitness::None:
            return "none";
        case LibraryBitness::Unreadable:
            return "unreadable";
        case LibraryBitness::Bits32:
            return "32-bit";
        case LibraryBitness::Bits64:
            return "64-bit";
        case LibraryBitness::OtherMachine:
            return "other machine";
    }
    return "?";
}

std::string_view verdictText(CandidateVerdict verdict) {
    switch (verdict) {
        case CandidateVerdict::Accepted:
            return "usable, another was chosen";
        case CandidateVerdict::NotAJdk:
            return "not a JDK";
        case CandidateVerdict::NoJavaExe:
            return "no java.exe";
        case CandidateVerdict::JavaFailed:
        case CandidateVerdict::NoVersionLine:
            return "java.exe failed";
        case CandidateVerdict::JavaHung:
            return "java.exe hung or did not start";
        case CandidateVerdict::Prerelease:
            return "pre-release";
        case CandidateVerdict::BelowMinimum:
            return "below the minimum";
        case CandidateVerdict::AboveMaximum:
            return "above the maximum";
        case CandidateVerdict::NoJavaw:
            return "no javaw.exe";
        case CandidateVerdict::NoJvmLibrary:
            return "no jvm.dll";
        case CandidateVerdict::WrongBitness:
            return "wrong bitness";
        case CandidateVerdict::NotLoaded:
            return "chosen, but its jvm.dll did not load";
    }
    return "?";
}

std::string heading(const SearchDiary& diary, LibraryBitness launcherBitness) {
    std::string text = "No Java runtime could be used. Candidates looked at (";
    text += bitnessText(launcherBitness);
    text += " launcher";
    if (!diary.minVersion().empty()) text += ", minimum version " + diary.minVersion();
    if (!diary.maxVersion().empty()) text += ", maximum version " + diary.maxVersion();
    text += "):";
    return text;
}

std::string joined(const Row& row, const std::array<size_t, kColumns>& widths) {
    std::string line;
    for (size_t column = 0; column < kColumns; ++column) {
        if (column > 0) line += " | ";
        line += row[column];
        // The last column is not padded: no blanks at the ends of lines.
        if (column + 1 < kColumns) line.append(widths[column] - row[column].size(), ' ');
    }
    return line;
}

}  // namespace

std::vector<std::string> searchSummaryLines(const SearchDiary& diary, LibraryBitness launcherBitness) {
    std::vector<std::string> lines{heading(diary, launcherBitness)};
    if (diary.records().empty()) {
        lines.emplace_back("none: no step of the search named a runtime");
        return lines;
    }
    std::vector<Row> rows{{"source", "path", "version", "jvm.dll", "verdict"}};
    for (const CandidateRecord& record : diary.records())
        rows.push_back({stepText(record.step), record.path, versionText(record),
                        std::string(bitnessText(record.library)), std::string(verdictText(record.verdict))});
    std::array<size_t, kColumns> widths{};
    for (const Row& row : rows)
        for (size_t column = 0; column < kColumns; ++column)
            widths[column] = std::max(widths[column], row[column].size());
    for (const Row& row : rows) lines.push_back(joined(row, widths));
    return lines;
}

#include "text/Expansion.h"

#include "log/MemoryLog.h"
#include "support/MemoryLogQueries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

ExpansionValues sampleValues(std::vector<std::string> environment = {}) {
    return {"C:\\Apps\\", "C:\\T\\e4j_1\\", "c:\\java\\jre\\bin\\..", "C:\\Tmp\\", std::move(environment)};
}

std::string expand(std::string text, const ExpansionValues& values, size_t capacity = 8192) {
    clearMemoryLog();
    expandText(text, values, capacity);
    return text;
}

struct Case {
    const char* text;
    std::vector<std::string> environment;
    const char* expected;
};

TEST(ExpansionTest, EveryLauncherPlaceholderHasItsValue) {
    const Case cases[] = {
        {"%ZELKOR_EXEDIR%|%BRANTEL_EXEDIR%|${ZELKOR_EXEDIR}|${BRANTEL_EXEDIR}|${launcher:sys.launcherDirectory}", {},
         "C:\\Apps\\|C:\\Apps\\|C:\\Apps\\|C:\\Apps\\|C:\\Apps\\"},
        {"%ZELKOR_TEMPDIR%|%BRANTEL_TEMPDIR%|${ZELKOR_TEMPDIR}|${BRANTEL_TEMPDIR}|${launcher:sys.launcherTempDirectory}",
         {}, "C:\\T\\e4j_1\\|C:\\T\\e4j_1\\|C:\\T\\e4j_1\\|C:\\T\\e4j_1\\|C:\\T\\e4j_1\\"},
        {"%ZELKOR_PATHLIST_SEPARATOR%|%BRANTEL_PATHLIST_SEPARATOR%|${ZELKOR_PATHLIST_SEPARATOR}|"
         "${BRANTEL_PATHLIST_SEPARATOR}|${launcher:sys.pathlistSeparator}",
         {}, ";|;|;|;|;"},
        {"%ZELKOR_JVM_HOME%|%BRANTEL_JVM_HOME%|${ZELKOR_JVM_HOME}|${BRANTEL_JVM_HOME}|${launcher:sys.jvmHome}", {},
         "c:\\java\\jre\\bin\\..|c:\\java\\jre\\bin\\..|c:\\java\\jre\\bin\\..|c:\\java\\jre\\bin\\..|"
         "c:\\java\\jre\\bin\\.."},
        {"${launcher:sys.tempDir}x", {}, "C:\\Tmp\\x"},
        {"%ZELKOR_EXEDIR%\\..", {}, "C:\\Apps\\\\.."},  // not normalised: a doubled backslash
        {"${zelkor_exedir}|%Zelkor_ExeDir%|${LAUNCHER:SYS.JVMHOME}", {},
         "${zelkor_exedir}|%Zelkor_ExeDir%|${LAUNCHER:SYS.JVMHOME}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(expand(c.text, sampleValues(c.environment)), c.expected);
    }
}

TEST(ExpansionTest, EmptyValuesRemoveTheirPlaceholder) {
    ExpansionValues values = sampleValues();
    values.tempDirectory.clear();
    values.jvmHome.clear();
    EXPECT_EQ(expand("-Da=%ZELKOR_TEMPDIR%lib -Dh=${launcher:sys.jvmHome}", values), "-Da=lib -Dh=");
}

TEST(ExpansionTest, EnvironmentReferences) {
    const Case cases[] = {
        {"${Path}|${PATH}|${path}|%Path%|${pATH}", {"Path=C:\\W"}, "C:\\W|C:\\W|${path}|%Path%|${pATH}"},
        {"${\xE9t\xE9}|${\xE9T\xE9}|${\xC9T\xC9}", {"\xE9t\xE9=v"}, "v|v|${\xC9T\xC9}"},  // only a-z are capitalised
        {"${X}", {"Y=1"}, "${X}"},
        {"${NOEQUALS}${B}", {"NOEQUALS", "B=1"}, "${NOEQUALS}1"},
        {"[${E}]", {"E="}, "[]"},
        {"${A}", {"A=b=c"}, "b=c"},
        {"${=C:}|${}", {"=C:=C:\\dir"}, "${=C:}|C:=C:\\dir"},  // split at the first "="
        {"${A}", {"A=1", "A=2"}, "1"},
        {"${A}", {"A=${A}"}, "${A}"},
        {"${A}", {"A=x${A}"}, "x${A}"},
        // Distinct placeholders each get a pass, so the capital pass sees the
        // mixed-case insertion.
        {"${Path}", {"Path=C:\\W;${PATH}"}, "C:\\W;C:\\W;${PATH}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(expand(c.text, sampleValues(c.environment)), c.expected);
    }
}

TEST(ExpansionTest, TextInsertedByAStepIsSearchedOnlyByLaterSteps) {
    const Case cases[] = {
        {"${A}", {"A=${B}", "B=x"}, "x"},
        {"${A}", {"B=x", "A=${B}"}, "${B}"},
        {"${A}", {"A=%ZELKOR_EXEDIR%|${launcher:sys.tempDir}"}, "%ZELKOR_EXEDIR%|${launcher:sys.tempDir}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(expand(c.text, sampleValues(c.environment)), c.expected);
    }

    ExpansionValues values = sampleValues({"HOME=h"});
    values.tempDirectory = "${ZELKOR_JVM_HOME}|${HOME}";
    values.jvmHome = "%ZELKOR_TEMPDIR%";
    EXPECT_EQ(expand("%ZELKOR_TEMPDIR%", values), "%ZELKOR_TEMPDIR%|h");
}

TEST(ExpansionTest, LogsEveryReplacementWithTheWholeText) {
    EXPECT_EQ(expand("${ZELKOR_EXEDIR}a${ZELKOR_EXEDIR}", sampleValues()), "C:\\Apps\\aC:\\Apps\\");
    EXPECT_EQ(memoryLogLines(), (Lines{"expanding ${ZELKOR_EXEDIR} to C:\\Apps\\ in C:\\Apps\\a${ZELKOR_EXEDIR}.",
                                       "expanding ${ZELKOR_EXEDIR} to C:\\Apps\\ in C:\\Apps\\aC:\\Apps\\."}));

    EXPECT_EQ(expand("${A}", sampleValues({"A=${A}"})), "${A}");
    EXPECT_EQ(memoryLogLines(), Lines{"expanding ${A} to ${A} in ${A}."});

    EXPECT_EQ(expand("${X} plain", sampleValues({"Y=1"})), "${X} plain");
    EXPECT_EQ(memoryLogLines(), Lines{});
}

TEST(ExpansionTest, ReplaceAllGoesOnAfterTheInsertedValue) {
    clearMemoryLog();
    std::string text = "xAyA";
    EXPECT_TRUE(replaceAll(text, "A", "AA", 100));
    EXPECT_EQ(text, "xAAyAA");
    EXPECT_EQ(memoryLogLines().size(), 2u);
}

TEST(ExpansionTest, RefusesAReplacementThatWouldNotFitTheBuffer) {
    struct CapacityCase {
        const char* text;
        size_t capacity;
        const char* expected;
        Lines errors;
    };
    const char* refusedAt11 = "ERROR: expanding ${V} would exceed 11 bytes; left unexpanded";
    const char* refusedAt15 = "ERROR: expanding ${V} would exceed 15 bytes; left unexpanded";
    const char* refusedAt16 = "ERROR: expanding ${V} would exceed 16 bytes; left unexpanded";
    const CapacityCase cases[] = {
        {"a${V}", 12, "a0123456789", {}},  // 11 characters and the terminator: fits exactly
        {"a${V}", 11, "a${V}", {refusedAt11}},
        {"${V}b${V}", 16, "0123456789b${V}", {refusedAt16}},
        {"${V}b${V}", 15, "${V}b${V}", {refusedAt15, refusedAt15}},
    };
    for (const CapacityCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.capacity));
        EXPECT_EQ(expand(c.text, sampleValues({"V=0123456789"}), c.capacity), c.expected);
        EXPECT_EQ(memoryLogLinesStartingWith("ERROR: "), c.errors);
    }
}

}  // namespace

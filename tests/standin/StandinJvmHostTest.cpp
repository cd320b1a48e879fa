// The stand-in jvm.dll's portable parts on the host: the archive directory
// reader, the behaviour file, the transcript round trip through the reader the
// scenario tests use, and the JNI table layout against the host JDK's jni.h.

// Before jni.h: its JNI_OK & co. are macros that would rewrite our constants.
#include "standin/standin_jvm/ModifiedUtf8.h"
#include "standin/standin_jvm/StandinJni.h"
#include "standin/standin_jvm/StandinJvmConfig.h"
#include "standin/standin_jvm/StandinJvmFormat.h"
#include "standin/standin_jvm/StoredZip.h"
#include "standin/standin_jvm/ZipDirectory.h"
#include "support/JvmTranscript.h"
#include "support/LittleEndian.h"

#if __has_include(<jni.h>)
#include <jni.h>
#define STANDIN_HAVE_HOST_JNI 1
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include <unistd.h>

namespace {

using standin::StoredZipEntry;
using standin::ZipDirectory;
using standin::ZipStatus;

const std::vector<StoredZipEntry> kEntries = {
    {"META-INF/", ""}, {"com/demo/", ""}, {"com/demo/Boot.class", "\xca\xfe\xba\xbe"}, {"Top.class", "x"}};

std::vector<std::string> namesOf(const std::vector<StoredZipEntry>& entries) {
    std::vector<std::string> names;
    for (const StoredZipEntry& entry : entries) names.push_back(entry.name);
    return names;
}

TEST(ZipDirectoryTest, ReadsEveryLayoutOfTheSameEntries) {
    std::vector<uint8_t> withStub = standin::storedZip(kEntries);
    withStub.insert(withStub.begin(), 300, 'M');  // a program in front of the archive
    const struct {
        const char* layout;
        std::vector<uint8_t> archive;
    } cases[] = {
        {"plain", standin::storedZip(kEntries)},
        {"comment", standin::storedZip(kEntries, false, "PK\x05\x06 looks like an end record")},
        {"zip64", standin::storedZip(kEntries, true)},
        {"prefixed", withStub},
    };
    for (const auto& c : cases) {
        ZipDirectory directory;
        ASSERT_EQ(ZipDirectory::read(c.archive, directory), ZipStatus::Ok) << c.layout;
        EXPECT_EQ(directory.names(), namesOf(kEntries)) << c.layout;
        EXPECT_TRUE(directory.contains("com/demo/Boot.class")) << c.layout;
        EXPECT_FALSE(directory.contains("com/demo/boot.class")) << c.layout;
        EXPECT_FALSE(directory.contains("com/demo")) << c.layout;
    }
}

TEST(ZipDirectoryTest, ReadsAnArchiveOfTheJdkJarTool) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("standin_jar_" + std::to_string(::getpid()));
    fs::create_directories(root / "in" / "com" / "demo");
    std::ofstream(root / "in" / "com" / "demo" / "Boot.class") << std::string(4096, 'z');  // deflates well
    const std::string command = std::string(STANDIN_HOST_JAR) + " --create --file " + (root / "t.jar").string() +
                                " -C " + (root / "in").string() + " .";
    if (std::system(command.c_str()) != 0) {
        fs::remove_all(root);
        GTEST_SKIP() << "no jar tool: " << command;
    }
    std::ifstream file(root / "t.jar", std::ios::binary);
    const std::vector<uint8_t> jar{std::istreambuf_iterator<char>(file), {}};
    fs::remove_all(root);

    ZipDirectory directory;
    ASSERT_EQ(ZipDirectory::read(jar, directory), ZipStatus::Ok);
    EXPECT_TRUE(directory.contains("META-INF/MANIFEST.MF"));
    EXPECT_TRUE(directory.contains("com/demo/Boot.class"));
}

TEST(ZipDirectoryTest, DamagedArchivesFailAndLeaveTheDirectoryAlone) {
    const std::vector<uint8_t> good = standin::storedZip(kEntries);
    const std::vector<uint8_t> good64 = standin::storedZip(kEntries, true);
    const size_t end = good.size() - 22;
    const uint32_t directoryOffset = good[end + 16] | good[end + 17] << 8;
    const size_t locator = good64.size() - 22 - 20;
    using Damage = std::function<void(std::vector<uint8_t>&)>;
    const struct {
        const char* damage;
        bool zip64;
        Damage apply;
        ZipStatus expected;
    } cases[] = {
        {"empty", false, [](auto& z) { z.clear(); }, ZipStatus::NoEndRecord},
        {"end record cut off", false, [](auto& z) { z.resize(z.size() - 1); }, ZipStatus::NoEndRecord},
        {"comment longer than the file", false, [&](auto& z) { put16(z, end + 20, 5); }, ZipStatus::NoEndRecord},
        {"one entry too many", false, [&](auto& z) { put16(z, end + 10, kEntries.size() + 1); }, ZipStatus::Damaged},
        {"one entry too few", false, [&](auto& z) { put16(z, end + 10, kEntries.size() - 1); }, ZipStatus::Damaged},
        {"directory larger than the file", false, [&](auto& z) { put32(z, end + 12, 0x7FFFFFF0); }, ZipStatus::Damaged},
        {"offset past the directory", false, [&](auto& z) { put32(z, end + 16, directoryOffset + 1); },
         ZipStatus::Damaged},
        {"entry signature", false, [&](auto& z) { z[directoryOffset] ^= 0xFF; }, ZipStatus::Damaged},
        {"name runs past the directory", false, [&](auto& z) { put16(z, directoryOffset + 28, 0xFFFF); },
         ZipStatus::Damaged},
        {"zip64 locator signature", true, [&](auto& z) { z[locator] ^= 0xFF; }, ZipStatus::Damaged},
        {"zip64 record past the locator", true, [&](auto& z) { put32(z, locator + 8, locator + 4); },
         ZipStatus::Damaged},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> archive = c.zip64 ? good64 : good;
        c.apply(archive);
        ZipDirectory directory;
        ASSERT_EQ(ZipDirectory::read(good, directory), ZipStatus::Ok);
        EXPECT_EQ(ZipDirectory::read(archive, directory), c.expected) << c.damage;
        EXPECT_EQ(directory.names(), namesOf(kEntries)) << c.damage;
    }
}

// Texts that stress the escapes: quotes, backslashes, NUL, bytes above 0x7F,
// surrogate pairs and unpaired halves.
const std::string kNarrowTexts[] = {"", "C:\\Program Files\\a b\\boot.jar", std::string("q\"\0\x7f\xe9", 5)};
const std::u16string kWideTexts[] = {u"", u"a\u00e9\U0001F600b", std::u16string(u"\"\\\0\xD800x\xDC00", 7)};

TEST(JvmTranscriptTest, WhatTheStandinWritesReadsBackExactly) {
    std::string text = "session 42\nstartup-ms 17\nstartup-us 17250\nversion 0x00010002\n";
    for (const std::string& option : kNarrowTexts) {
        text += "option";
        standin::appendNarrowToken(text, option);
        text += '\n';
    }
    text += "ignoreUnrecognized 1\ncreated 0\nNewObjectArray 3";
    standin::appendNarrowToken(text, "java/lang/String");
    text += "\nCallStaticVoidMethod";
    for (const std::string& word : kNarrowTexts) standin::appendNarrowToken(text, word);
    for (const std::u16string& units : kWideTexts) standin::appendWideToken(text, units);
    text += " null\r\nsession 43\nstartup-ms 5\n";  // the second process died during creation

    std::vector<JvmSession> sessions;
    std::string error;
    ASSERT_TRUE(parseJvmTranscript(text, sessions, error)) << error;
    ASSERT_EQ(sessions.size(), 2u);
    const JvmSession& first = sessions[0];
    EXPECT_EQ(first.processId, 42u);
    EXPECT_EQ(first.startupMs, 17);
    EXPECT_EQ(first.startupUs, 17250);
    EXPECT_EQ(first.version, 0x00010002u);
    EXPECT_EQ(first.options, std::vector<std::string>(std::begin(kNarrowTexts), std::end(kNarrowTexts)));
    EXPECT_TRUE(first.ignoreUnrecognized);
    EXPECT_TRUE(first.createdSeen);
    EXPECT_EQ(first.functions(), (std::vector<std::string>{"NewObjectArray", "CallStaticVoidMethod"}));
    const JvmCall& call = *first.callsOf("CallStaticVoidMethod").at(0);
    std::vector<std::string> words(std::begin(kNarrowTexts), std::end(kNarrowTexts));
    words.push_back("null");
    EXPECT_EQ(call.words, words);
    EXPECT_EQ(call.texts, std::vector<std::u16string>(std::begin(kWideTexts), std::end(kWideTexts)));
    EXPECT_EQ(sessions[1].processId, 43u);
    EXPECT_FALSE(sessions[1].createdSeen);
}

TEST(JvmTranscriptTest, MalformedLinesAreRefusedWithTheirNumber) {
    const std::string header = "session 1\ncreated 0\n";
    const struct {
        std::string text;
        const char* problem;
    } cases[] = {
        {"FindClass \"a\"\n", "a call before any session"},
        {header + "NewString 1 u\"\\x41\"\n", "byte escape in a wide text"},
        {header + "FindClass \"\\u0041\"\n", "unit escape in a narrow text"},
        {header + "FindClass \"a\\q\"\n", "unknown escape"},
        {header + "FindClass \"open\n", "unterminated text"},
        {header + "FindClass \"a\"b\n", "text glued to a word"},
        {header + "FindClass \"\xe9\"\n", "raw byte the writer escapes"},
        {header + "FindClass  two-blanks\n", "empty token"},
        {header + "\n", "empty line"},
    };
    for (const auto& c : cases) {
        const auto lineNumber = std::count(c.text.begin(), c.text.end(), '\n');
        std::vector<JvmSession> sessions(1);
        std::string error;
        EXPECT_FALSE(parseJvmTranscript(c.text, sessions, error)) << c.problem;
        EXPECT_NE(error.find("line " + std::to_string(lineNumber) + ":"), std::string::npos) << error;
        EXPECT_EQ(sessions.size(), 1u) << c.problem;
    }
}

TEST(StandinJvmConfigTest, WrittenEntriesAreReadAsTheStandinSeesThem) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("standin_cfg_" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    ASSERT_TRUE(writeStandinJvmConfig(directory, {{"create.result", "-6"},
                                                  {"main", "window, instance-file,exit"},
                                                  {"main.exit-code", "4294967295"},
                                                  {"main.instance-file", "C:\\tmp\\zkr_p7.tmp"},
                                                  {"firstRun", "throw"},
                                                  {"missing-methods", "main,firstRun"},
                                                  {"main.throws", "true"}}));
    std::ifstream file(directory / standin::kConfigFileName);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    std::filesystem::remove_all(directory);

    standin::StandinJvmConfig config;
    std::string badLine;
    ASSERT_TRUE(standin::parseStandinJvmConfig("# a comment\n\n" + text, config, badLine)) << badLine;
    EXPECT_EQ(config.createResult, -6);
    using standin::MainStep;
    EXPECT_EQ(config.mainSteps, (std::vector<MainStep>{MainStep::Window, MainStep::InstanceFile, MainStep::Exit}));
    EXPECT_EQ(config.exitCode, 4294967295u);
    EXPECT_EQ(config.instanceFile, "C:\\tmp\\zkr_p7.tmp");
    EXPECT_EQ(config.firstRun, standin::FirstRunOutcome::Throw);
    EXPECT_EQ(config.missingMethods, (std::vector<std::string>{"main", "firstRun"}));
    EXPECT_TRUE(config.mainThrows);
    EXPECT_EQ(config.waitMs, standin::StandinJvmConfig{}.waitMs);
}

TEST(StandinJvmConfigTest, TyposAndBadValuesAreRefused) {
    const char* const lines[] = {
        "create.result=four", "main=sleep,nap", "main=sleep,", "main.sleep-ms=-1", "main.exit-code=4294967296",
        "main.throws=yes",    "firstRun=maybe", "fristRun=true", "missing-methods=a,,b", "main.instance-file=",
        "no equals sign",
    };
    for (const char* line : lines) {
        standin::StandinJvmConfig config;
        config.sleepMs = 99;
        std::string badLine;
        EXPECT_FALSE(standin::parseStandinJvmConfig(std::string("main.sleep-ms=5\n") + line + "\n", config, badLine))
            << line;
        EXPECT_EQ(badLine, line);
        EXPECT_EQ(config.sleepMs, 99u) << line;
    }
}

TEST(ModifiedUtf8Test, NoZeroBytesAndExactRoundTrip) {
    for (const std::u16string& units : kWideTexts) {
        const std::string bytes = standin::toModifiedUtf8(units);
        EXPECT_EQ(bytes.find('\0'), std::string::npos);
        EXPECT_EQ(standin::fromModifiedUtf8(bytes), units);
    }
    EXPECT_EQ(standin::toModifiedUtf8(std::u16string(1, u'\0')), "\xc0\x80");
    EXPECT_EQ(standin::toModifiedUtf8(u"\U0001F600"), "\xed\xa0\xbd\xed\xb8\x80");  // each surrogate on its own
    EXPECT_EQ(standin::fromModifiedUtf8("a\xe9"), u"a\uFFFD");                      // a sequence cut short
}

#ifdef STANDIN_HAVE_HOST_JNI
#define SAME_SLOT(name) {#name, offsetof(standin::JNINativeInterface, name), offsetof(JNINativeInterface_, name)}
#define SAME_VM_SLOT(name) {#name, offsetof(standin::JNIInvokeInterface, name), offsetof(JNIInvokeInterface_, name)}
#define SAME_FIELD(type, name) {#type "." #name, offsetof(standin::type, name), offsetof(type, name)}

TEST(StandinJniLayoutTest, SlotsAndFieldsSitWhereTheJdkPutsThem) {
    const struct {
        const char* name;
        size_t ours;
        size_t jdk;
    } slots[] = {
        SAME_SLOT(GetVersion), SAME_SLOT(FindClass), SAME_SLOT(ExceptionOccurred), SAME_SLOT(ExceptionDescribe),
        SAME_SLOT(ExceptionClear), SAME_SLOT(NewGlobalRef), SAME_SLOT(DeleteGlobalRef), SAME_SLOT(DeleteLocalRef),
        SAME_SLOT(GetStaticMethodID), SAME_SLOT(CallStaticBooleanMethod), SAME_SLOT(CallStaticBooleanMethodV),
        SAME_SLOT(CallStaticBooleanMethodA), SAME_SLOT(CallStaticVoidMethod), SAME_SLOT(CallStaticVoidMethodV),
        SAME_SLOT(CallStaticVoidMethodA), SAME_SLOT(NewString), SAME_SLOT(GetStringLength), SAME_SLOT(GetStringChars),
        SAME_SLOT(ReleaseStringChars), SAME_SLOT(NewStringUTF), SAME_SLOT(GetStringUTFLength),
        SAME_SLOT(GetStringUTFChars), SAME_SLOT(ReleaseStringUTFChars), SAME_SLOT(GetArrayLength),
        SAME_SLOT(NewObjectArray), SAME_SLOT(GetObjectArrayElement), SAME_SLOT(SetObjectArrayElement),
        SAME_SLOT(GetJavaVM), SAME_SLOT(ExceptionCheck), SAME_VM_SLOT(DestroyJavaVM),
        SAME_VM_SLOT(AttachCurrentThread), SAME_VM_SLOT(DetachCurrentThread), SAME_VM_SLOT(GetEnv),
        SAME_VM_SLOT(AttachCurrentThreadAsDaemon), SAME_FIELD(JavaVMInitArgs, version),
        SAME_FIELD(JavaVMInitArgs, nOptions), SAME_FIELD(JavaVMInitArgs, options),
        SAME_FIELD(JavaVMInitArgs, ignoreUnrecognized), SAME_FIELD(JavaVMOption, optionString),
        SAME_FIELD(JavaVMOption, extraInfo),
    };
    for (const auto& slot : slots) EXPECT_EQ(slot.ours, slot.jdk) << slot.name;
    EXPECT_GE(sizeof(JNINativeInterface_), sizeof(standin::JNINativeInterface));
    EXPECT_EQ(sizeof(JavaVMInitArgs), sizeof(standin::JavaVMInitArgs));
}
#endif

}  // namespace

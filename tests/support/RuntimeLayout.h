#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Java runtime homes for scenario tests, put together from the stand-in
// programs and libraries that the Windows builds leave in
// build/<win64|win32>/tests/standin (java.exe, javaw.exe, jvm.dll,
// splashscreen.dll, unpack200.exe). The environment variable
// LAUNCHER_STANDIN_BUILD_ROOT names another directory holding win64/ and
// win32/ build trees in place of build/.
//
// Every stand-in kind has a bin directory with java.exe (and a
// standin-java.cfg carrying the banner), splashscreen.dll and unpack200.exe.
// jvm.dll is copied only when its build exists. Apart from Packed, lib holds
// the placeholder jars lib\rt.jar and lib\jsse.jar.
//
// The kind Real is no stand-in but the real Windows x86-64 runtime that
// scripts/real-runtime.sh keeps in its cache (a Java 17 one: no unpack200.exe,
// lib\modules in place of the jars), for the cases that must run a real JVM.
struct RuntimeShape {
    enum Kind {
        Jre,                 // bin\java.exe, bin\javaw.exe, bin\server\jvm.dll
        Jdk,                 // bin\java.exe, bin\javaw.exe, lib\tools.jar and a whole Jre in jre\ (the
                             // JVM library only in jre\bin\server)
        JvmOnlyUnderServer,  // the Jre files, named for tests about the library sub-directories
        ClientAndServer,     // the Jre files plus bin\client\jvm.dll
        NoJavaw,             // the Jre files without bin\javaw.exe
        WrongBitness,        // the Jre files with jvm.dll and splashscreen.dll of the other bitness; the
                             // programs are 64-bit ones, which any 64-bit system runs beside either
                             // launcher, so the version check still gets its banner
        Packed,              // the Jre files with the seven packed jars (lib\rt.jar.pack, ...) and
                             // neither the jars nor lib\jsse.jar
        Real,                // the real runtime, every file a symbolic link into the cache (so whatever a
                             // test writes into the home stays in the home); 64-bit only, and its java.exe
                             // prints its own banner
        ExeOnly,             // no stand-in at all: bin\java.exe as an empty file, for tests whose own
                             // candidate check decides without starting it (no banner, any bitness)
    };
};

// What the stand-in java.exe and javaw.exe of a home do when started.
struct JavaBehaviour {
    std::string banner;                  // first line on standard error; empty prints no line
    std::vector<std::string> moreLines;  // further lines after it
    int exitCode = 0;
    bool hang = false;  // sleeps until killed after printing
    int sleepMs = 0;    // sleeps this long after printing, then ends
};

// One run of the stand-in java.exe or javaw.exe.
struct JavaRun {
    std::string program;      // "java.exe" or "javaw.exe"
    std::string commandLine;  // as the program received it
};

// Names of the files that the stand-ins read and write beside themselves.
inline constexpr const char* kJavaConfigFile = "standin-java.cfg";
inline constexpr const char* kJavaRunsFile = "standin-java-runs.txt";
inline constexpr const char* kSplashCallsFile = "standin-splash-calls.txt";
inline constexpr const char* kUnpackConfigFile = "standin-unpack200.cfg";
inline constexpr const char* kUnpackRunsFile = "standin-unpack200-runs.txt";

// The stand-in binaries of one bitness.
std::filesystem::path standinDirectory(int bits);

// The home of the real runtime in the cache of scripts/real-runtime.sh, or
// nothing when it has not been fetched (scripts/setup.sh fetches it).
std::optional<std::filesystem::path> realRuntimeHome();

// Makes (or refreshes) the runtime home `home` of the given kind for a
// launcher of `bits` bits and returns it. Throws std::runtime_error when a
// stand-in other than jvm.dll has not been built, and for the kind Real when
// the real runtime has not been fetched or `bits` is not 64.
std::filesystem::path makeRuntimeHome(const std::filesystem::path& home, RuntimeShape::Kind kind, int bits,
                                      const std::string& versionBanner);

// The jars of a packed runtime, relative to its home in unpacking order, and
// the bytes that makeRuntimeHome puts into each jar's ".pack" file (the
// stand-in unpack200.exe copies a pack's bytes into its jar).
const std::vector<std::filesystem::path>& packedJars();
std::string packContent(const std::filesystem::path& jar);

// The directories of the home that hold java.exe: bin and, in a JDK, jre\bin.
std::vector<std::filesystem::path> javaBinDirectories(const std::filesystem::path& home);

// Rewrites standin-java.cfg in every directory of javaBinDirectories(home).
void setJavaBehaviour(const std::filesystem::path& home, const JavaBehaviour& behaviour);
// Makes bin\unpack200.exe of the home fail with `exitCode` (0 restores it).
void setUnpackExitCode(const std::filesystem::path& home, int exitCode);

// The records of the home's stand-ins, gathered over javaBinDirectories(home)
// in that order; a missing file counts as no record.
std::vector<JavaRun> javaRuns(const std::filesystem::path& home);
int countRuns(const std::filesystem::path& home);
std::vector<std::string> splashCalls(const std::filesystem::path& home);
// The command lines that bin\unpack200.exe received.
std::vector<std::string> unpackRuns(const std::filesystem::path& home);

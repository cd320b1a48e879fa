// launchergen.exe under Wine against launchergen on Linux: from the same
// inputs the same launcher byte for byte, the same inspection, the same
// example file and the same errors. The Windows runs name the configuration's
// files with either separator, relative to the configuration's folder, and
// one of them by a name outside the ANSI code page.
//
// Standard output and error are text on Windows: each line ends in CR LF
// there, as the C runtime writes text streams, and otherwise the texts are
// the same. Files are bytes on both: the launcher and the example file.
#include "support/HostCommand.h"
#include "support/TestFiles.h"
#include "support/WineScenario.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

const fs::path kWindowsGenerator = fs::path(LAUNCHER_DIST_DIR) / "launchergen.exe";
const fs::path kLinuxGenerator = fs::path(LAUNCHER_DIST_DIR) / "launchergen";

// A run's exit code and its output streams as written.
struct GeneratorRun {
    int exitCode = -1;
    std::string out, err;
};

std::string withWindowsLineEnds(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Bytes with every value, line ends of both kinds, an end-of-file mark of
// text mode (0x1A) and NULs: a text-mode write or read anywhere would show.
std::string awkwardBytes(size_t size) {
    std::string bytes = "\r\n\n\x1a\r\0\r"s;
    for (size_t i = 0; bytes.size() < size; ++i) bytes.push_back(static_cast<char>(i * 131 + i / 256));
    return bytes;
}

// The configuration's files lie in project/ beside it, named with `S` as
// the separator. The part after `program` is the template's own section.
std::string configuration(const std::string& S, const std::string& programSection) {
    return "[application]\n"
           "name = \"Byte Check\"\n"
           "mainClass = \"org.example.bytes.Main\"\n"
           "arguments = \"--mode fast\"\n"
           "[[classPath]]\n"
           "kind = \"archive\"\n"
           "path = \"lib\\\\app.jar\"\n"
           "[[classPath]]\n"
           "kind = \"variable\"\n"
           "variable = \"EXTRA_JARS\"\n"
           "[files]\n"
           "[[files.embed]]\n"
           "source = 'files" + S + "app.jar'\n"
           "name = \"lib\\\\app.jar\"\n"
           "[[files.embed]]\n"
           "source = 'files" + S + "Gr\u00fc\u00dfe \u4e16\u754c.txt'\n"
           "name = \"greetings.txt\"\n"
           "[[files.embed]]\n"
           "source = 'files" + S + "notes.txt'\n"
           "[java]\n"
           "search = [{ kind = \"registry\" }, { kind = \"environment\", variable = \"JAVA_HOME\" }]\n"
           "minVersion = \"11\"\n"
           "maxVersion = \"21.9\"\n"
           "[vm]\n"
           "options = [\"-Xmx256m\", \"-Dapp.home=%ZELKOR_EXEDIR%\", \"-Dtitle=Byte Check\"]\n"
           "[messages]\n"
           "errorCaption = \"Fehler \u2013 Byte Check\"\n"
           "jvmStartFailed = \"Java could not start.\"\n"
           "classPathEntryMissing = \"Missing: {0}\"\n"
           "[resources]\n"
           "icon = 'res" + S + "app.ico'\n"
           "[resources.version]\n"
           "fileVersion = \"2.3.4.5\"\n"
           "productVersion = \"2.3\"\n"
           "productName = \"Byte Check\"\n"
           "company = \"Example Corp.\"\n"
           "description = \"Byte check launcher\"\n"
           "copyright = \"\u00a9 Example Corp.\"\n"
           "[logs]\n"
           "errorFile = \"error.log\"\n"
           "maxSize = \"1 MB\"\n" +
           programSection;
}

std::string guiSection(const std::string& S) {
    return "[gui]\n"
           "consoleSwitches = \"all\"\n"
           "splash = 'res" + S + "splash.png'\n";
}

std::string serviceSection(const std::string&) {
    return "[service]\n"
           "description = \"Checks bytes\"\n"
           "dependencies = [\"Tcpip\", \"Dnscache\"]\n"
           "startType = \"manual\"\n"
           "stopTimeout = \"30s\"\n"
           "[service.onFailure]\n"
           "actions = [\"restart 10s\", \"restart 1min\", \"none\"]\n"
           "[translations.de]\n"
           "serviceDescription = \"Pr\u00fcft Bytes\"\n";
}

class WindowsGeneratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kWindowsGenerator)) GTEST_SKIP() << kWindowsGenerator << " is not built (the win64 preset)";
        if (!fs::exists("/usr/lib/wine/wine64")) GTEST_SKIP() << "Wine is not installed";
        ASSERT_TRUE(fs::exists(kLinuxGenerator)) << kLinuxGenerator << " is missing: the host build copies it there";
        const fs::path project = scenario_.directory() / "project";
        fs::create_directories(project / "files");
        fs::create_directories(project / "res");
        write(project / "files" / "app.jar", awkwardBytes(70000));  // several copy chunks
        write(project / "files" / "Gr\u00fc\u00dfe \u4e16\u754c.txt", "Gr\u00fc\u00dfe\r\nline\n\x1a after the mark");
        write(project / "files" / "notes.txt", "a\nb\r\n");
        fs::copy_file(fs::path(LAUNCHER_SOURCE_DIR) / "src/programs/resources/launcher.ico", project / "res" / "app.ico");
        fs::copy_file(LAUNCHER_SPLASH_IMAGE, project / "res" / "splash.png");
    }

    static void write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // launchergen on Linux, in the scenario's directory.
    GeneratorRun runLinux(const std::vector<std::string>& arguments) {
        const fs::path out = scenario_.directory() / "linux-out.txt", err = scenario_.directory() / "linux-err.txt";
        std::string command = "cd ";
        command += shellQuoted(scenario_.directory()) + " && " + shellQuoted(kLinuxGenerator);
        for (const std::string& argument : arguments) command += ' ' + shellQuoted(argument);
        command += " > " + shellQuoted(out) + " 2> " + shellQuoted(err);
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
    }

    // launchergen.exe under Wine, in the scenario's directory.
    GeneratorRun runWindows(const std::vector<std::string>& arguments) {
        StartedRun started = scenario_.start(kWindowsGenerator, arguments);
        const LauncherRun run = scenario_.finish(started);
        return {run.exitCode, readFile(started.outputPath), readFile(started.errorPath)};
    }

    // Both builds write a launcher from the same inputs, linux.exe and
    // windows.exe; the Windows run names the files with `windowsSeparator`.
    void buildBoth(const std::string& templateName, std::string (*section)(const std::string&),
                   const std::string& windowsSeparator) {
        const fs::path project = scenario_.directory() / "project";
        write(project / "linux.toml", configuration("/", section("/")));
        write(project / "windows.toml", configuration(windowsSeparator, section(windowsSeparator)));
        // Whatever lies under the output name is replaced.
        write(scenario_.directory() / "windows.exe", "an older launcher");

        const fs::path templatePath = templateDirectory() / templateName;
        const GeneratorRun linux =
            runLinux({"build", "project/linux.toml", "--template", templatePath.string(), "--output", "linux.exe"});
        ASSERT_EQ(linux.exitCode, 0) << linux.out << linux.err;
        const std::string windowsTemplate =
            windowsSeparator == "/" ? replaced(WineScenario::windowsPath(templatePath), "\\", "/")
                                    : WineScenario::windowsPath(templatePath);
        const GeneratorRun windows = runWindows({"build", "project" + windowsSeparator + "windows.toml", "--template",
                                                 windowsTemplate, "--output", "windows.exe"});
        ASSERT_EQ(windows.exitCode, 0) << windows.out << windows.err;
        EXPECT_EQ(windows.err, "");
        EXPECT_EQ(windows.out, "wrote windows.exe (4 embedded files)\r\n");
    }

    void expectSameLaunchers() {
        const std::vector<uint8_t> linux = readBytes(scenario_.directory() / "linux.exe");
        const std::vector<uint8_t> windows = readBytes(scenario_.directory() / "windows.exe");
        ASSERT_GT(linux.size(), 100000u);
        ASSERT_EQ(windows.size(), linux.size());
        const auto difference = std::mismatch(linux.begin(), linux.end(), windows.begin());
        EXPECT_TRUE(difference.first == linux.end())
            << "the launchers differ first at byte " << (difference.first - linux.begin());
    }

    // Both inspect the same launcher; Windows ends its lines with CR LF.
    void expectSameInspection(const std::vector<std::string>& arguments) {
        const GeneratorRun linux = runLinux(arguments);
        const GeneratorRun windows = runWindows(arguments);
        ASSERT_EQ(linux.exitCode, 0) << linux.err;
        ASSERT_EQ(windows.exitCode, 0) << windows.err;
        EXPECT_NE(linux.out.find("Byte Check"), std::string::npos) << linux.out;
        EXPECT_EQ(windows.out, withWindowsLineEnds(linux.out));
    }

    WineScenario scenario_{"windows_generator"};
};

struct Case {
    const char* name;
    const char* templateName;
    std::string (*section)(const std::string&);
    const char* windowsSeparator;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class WindowsGeneratorBuildTest : public WindowsGeneratorTest, public ::testing::WithParamInterface<Case> {};

TEST_P(WindowsGeneratorBuildTest, WritesTheLinuxBuildsLauncherAndInspectsItAlike) {
    const Case& c = GetParam();
    buildBoth(c.templateName, c.section, c.windowsSeparator);
    if (HasFatalFailure()) return;
    expectSameLaunchers();
    expectSameInspection({"inspect", "windows.exe"});
    expectSameInspection({"inspect", "windows.exe", "--raw"});
}

INSTANTIATE_TEST_SUITE_P(Templates, WindowsGeneratorBuildTest,
                         ::testing::Values(Case{"gui64Slashes", "guilauncher64.exe", guiSection, "/"},
                                           Case{"gui64Backslashes", "guilauncher64.exe", guiSection, "\\"},
                                           Case{"service32Backslashes", "svclauncher32.exe", serviceSection, "\\"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowsGeneratorTest, PrintsTheVersionOfTheFileVersion) {
    std::string version = readFile(fs::path(LAUNCHER_SOURCE_DIR) / "VERSION");
    while (!version.empty() && std::isspace(static_cast<unsigned char>(version.back()))) version.pop_back();
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(runLinux({"--version"}).out, "launchergen " + version + "\n");
    const GeneratorRun windows = runWindows({"--version"});
    EXPECT_EQ(windows.exitCode, 0);
    EXPECT_EQ(windows.out, "launchergen " + version + "\r\n");
}

// The example is written as compiled in, LF line ends and all, and an
// existing file is left alone.
TEST_F(WindowsGeneratorTest, InitWritesTheExampleByteForByte) {
    const std::string example = readFile(fs::path(LAUNCHER_SOURCE_DIR) / "examples/launcher.toml");
    ASSERT_FALSE(example.empty());
    const GeneratorRun windows = runWindows({"init", "project\\example.toml"});
    ASSERT_EQ(windows.exitCode, 0) << windows.err;
    EXPECT_EQ(readFile(scenario_.directory() / "project" / "example.toml"), example);

    write(scenario_.directory() / "project" / "example.toml", "mine");
    const GeneratorRun again = runWindows({"init", "project/example.toml"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, "launchergen: project/example.toml exists; not overwritten\r\n");
    EXPECT_EQ(readFile(scenario_.directory() / "project" / "example.toml"), "mine");
}

// A mistake is reported in the same words, and no launcher is written.
TEST_F(WindowsGeneratorTest, ReportsMistakesAlike) {
    const fs::path project = scenario_.directory() / "project";
    const fs::path templatePath = templateDirectory() / "guilauncher64.exe";
    const struct {
        const char* name;
        std::string text;
    } mistakes[] = {
        {"kind", "[application]\nmainClass = \"a.B\"\n[[classPath]]\nkind = \"jar\"\npath = \"x\"\n"},
        {"missingFile", "[application]\nmainClass = \"a.B\"\n[[files.embed]]\nsource = 'files/absent.jar'\n"},
        {"notAnIcon", "[application]\nmainClass = \"a.B\"\n[resources]\nicon = 'files/notes.txt'\n"},
    };
    for (const auto& mistake : mistakes) {
        SCOPED_TRACE(mistake.name);
        write(project / "bad.toml", mistake.text);
        const GeneratorRun linux =
            runLinux({"build", "project/bad.toml", "--template", templatePath.string(), "--output", "bad.exe"});
        const GeneratorRun windows = runWindows({"build", "project/bad.toml", "--template",
                                                 WineScenario::windowsPath(templatePath), "--output", "bad.exe"});
        EXPECT_EQ(linux.exitCode, 1);
        EXPECT_EQ(windows.exitCode, 1);
        EXPECT_NE(linux.err.find("project/bad.toml:"), std::string::npos) << linux.err;
        // Paths in the message are the system's own: Windows shows its separator.
        EXPECT_EQ(windows.err, withWindowsLineEnds(replaced(linux.err, "project/files/", "project\\files\\")));
        EXPECT_FALSE(fs::exists(scenario_.directory() / "bad.exe"));
    }
}

}  // namespace

// launchergen: makes a launcher from a template and a readable TOML
// configuration, writes a commented example, and shows any launcher's
// configuration in the same terms, with its resources and its signature.
//
//   launchergen build CONFIG.toml --template T --output O [--bootstrap JAR]
//   launchergen init [FILE]
//   launchergen inspect LAUNCHER [--raw]
//   launchergen --version
//
// The same program runs on Linux and on Windows and writes the same bytes
// from the same inputs. Words of the command line are UTF-8 text (on Windows
// taken from the UTF-16 command line) and become paths through utf8Path.

#include "ConfigurationText.h"
#include "ExampleConfiguration.h"
#include "LauncherConfig.h"
#include "LauncherVersion.h"
#include "PayloadDump.h"
#include "PayloadWriter.h"
#include "PeLayout.h"
#include "Utf.h"
#include "core/PeImage.h"

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The command line after the program's name, in UTF-8.
using Arguments = std::vector<std::string>;

constexpr char kUsage[] =
    "usage: launchergen build CONFIG.toml --template TEMPLATE.exe --output LAUNCHER.exe [--bootstrap JAR]\n"
    "       launchergen init [FILE]            write a commented example configuration\n"
    "       launchergen inspect LAUNCHER [--raw]\n"
    "       launchergen --version\n";

int usage() {
    std::cerr << kUsage;
    return 2;
}

int help() {
    std::cout << "launchergen " LAUNCHER_VERSION_TEXT ": makes Windows launchers for Java applications\n\n" << kUsage;
    return 0;
}

int fail(const std::string& message) {
    std::cerr << "launchergen: " << message << "\n";
    return 1;
}

// GUI templates make GUI launchers, console templates service launchers.
bool templateProgram(const fs::path& path, generator::LauncherProgram& program, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + pathText(path);
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto image = parsePeImage(bytes, &error);
    if (!image) {
        error = pathText(path) + ": " + error;
        return false;
    }
    program = image->subsystem == PeImage::kSubsystemGui ? generator::LauncherProgram::Gui
                                                         : generator::LauncherProgram::Service;
    return true;
}

int runBuild(const Arguments& arguments) {
    std::string configPath, templatePath, outputPath, bootstrapPath, error;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option.rfind("--", 0) != 0) {
            if (!configPath.empty()) return usage();
            configPath = option;
            continue;
        }
        if (i + 1 >= arguments.size()) return usage();
        const std::string& argument = arguments[++i];
        if (option == "--template") templatePath = argument;
        else if (option == "--output") outputPath = argument;
        else if (option == "--bootstrap") bootstrapPath = argument;
        else return usage();
    }
    if (configPath.empty() || templatePath.empty() || outputPath.empty()) return usage();
    generator::ReadOptions options;
    if (!templateProgram(utf8Path(templatePath), options.program, error)) return fail(error);
    // The bootstrap jar is built into the same directory as the templates.
    std::error_code ec;
    options.defaultBootstrapJar =
        bootstrapPath.empty() ? fs::absolute(utf8Path(templatePath), ec).parent_path() / generator::kBootstrapJarName
                              : fs::absolute(utf8Path(bootstrapPath), ec);
    payload::LauncherPayload payload;
    if (!generator::readLauncherConfigurationFile(utf8Path(configPath), options, payload, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    if (!payload::writeLauncher(utf8Path(templatePath), payload, utf8Path(outputPath), error)) return fail(error);
    std::cout << "wrote " << outputPath << " (" << payload.files.size() << " embedded files)\n";
    return 0;
}

// Into a file the example goes byte for byte (binary mode, also on Windows);
// on standard output it is text, like everything the tool prints.
int runInit(const Arguments& arguments) {
    if (arguments.size() > 2) return usage();
    if (arguments.size() == 1) {
        std::cout << generator::kExampleConfiguration;
        return 0;
    }
    const std::string& name = arguments[1];
    std::error_code ec;
    if (fs::exists(utf8Path(name), ec)) return fail(name + " exists; not overwritten");
    std::ofstream out(utf8Path(name), std::ios::binary);
    out << generator::kExampleConfiguration;
    out.close();
    if (!out) return fail("cannot write " + name);
    std::cout << "wrote " << name << "\n";
    return 0;
}

// The launcher's resources, one per line, and whether it carries a signature.
void describeResourcesAndSignature(const fs::path& path, uint64_t trailingBytes) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    const auto list = resources::readImageResources(bytes, error);
    if (!list) {
        std::cout << "# resources: unreadable (" << error << ")\n";
    } else {
        std::cout << "# resources:\n";
        for (const resources::Resource& r : *list)
            std::cout << "#   " << resources::describeType(r.type) << " " << r.name.describe() << ", language "
                      << r.language << ": " << r.data.size() << " bytes\n";
    }
    const auto signature = resources::findSignature(bytes);
    if (signature) {
        std::cout << "# signed: a signature of " << signature->size << " bytes at " << signature->offset << "\n";
    } else {
        std::cout << "# not signed\n";
        if (trailingBytes) std::cout << "# " << trailingBytes << " bytes after the embedded files\n";
    }
}

int runInspect(const Arguments& arguments) {
    if (arguments.size() < 2 || arguments.size() > 3 || (arguments.size() == 3 && arguments[2] != "--raw"))
        return usage();
    const std::string& name = arguments[1];
    const fs::path path = utf8Path(name);
    std::string error;
    generator::LauncherProgram program;
    if (!templateProgram(path, program, error)) return fail(error);
    payload::LauncherContents contents;
    if (!payload::readLauncher(path, contents, error)) return fail(error);
    if (arguments.size() == 3) {
        std::cout << payload::describeLauncher(contents);
        return 0;
    }
    std::cout << "# " << name << ": " << (program == generator::LauncherProgram::Gui ? "GUI" : "service")
              << " launcher, payload at " << contents.payloadOffset << "\n";
    describeResourcesAndSignature(path, contents.trailingBytes);
    std::cout << "\n" << generator::describeConfiguration(contents, program);
    return 0;
}

int run(const Arguments& arguments) {
    const std::string command = arguments.empty() ? "" : arguments[0];
    if (command == "build") return runBuild(arguments);
    if (command == "init") return runInit(arguments);
    if (command == "inspect") return runInspect(arguments);
    if (command == "--version" && arguments.size() == 1) {
        std::cout << "launchergen " LAUNCHER_VERSION_TEXT "\n";
        return 0;
    }
    if ((command == "--help" || command == "-h") && arguments.size() == 1) return help();
    return usage();
}

}  // namespace

#ifdef _WIN32
// Linked with -municode: the arguments come as UTF-16, so that a file name
// outside the ANSI code page can be named.
int wmain(int argc, wchar_t** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(utf16ToUtf8(std::u16string(argv[i], argv[i] + std::wcslen(argv[i]))));
    return run(arguments);
}
#else
int main(int argc, char** argv) { return run(Arguments(argv + 1, argv + argc)); }
#endif

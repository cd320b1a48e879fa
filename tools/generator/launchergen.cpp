// launchergen: makes a launcher from a template and a readable TOML
// configuration, writes a commented example, and shows any launcher's
// configuration in the same terms, with its resources and its signature.
//
//   launchergen build CONFIG.toml --template T --output O [--bootstrap JAR]
//   launchergen init [FILE]
//   launchergen inspect LAUNCHER [--raw]

#include "ConfigurationText.h"
#include "ExampleConfiguration.h"
#include "LauncherConfig.h"
#include "PayloadDump.h"
#include "PayloadWriter.h"
#include "PeLayout.h"
#include "core/PeImage.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

int usage() {
    std::cerr << "usage: launchergen build CONFIG.toml --template TEMPLATE.exe --output LAUNCHER.exe [--bootstrap JAR]\n"
                 "       launchergen init [FILE]            write a commented example configuration\n"
                 "       launchergen inspect LAUNCHER [--raw]\n";
    return 2;
}

int fail(const std::string& message) {
    std::cerr << "launchergen: " << message << "\n";
    return 1;
}

// GUI templates make GUI launchers, console templates service launchers.
bool templateProgram(const fs::path& path, generator::LauncherProgram& program, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path.string();
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto image = parsePeImage(bytes, &error);
    if (!image) {
        error = path.string() + ": " + error;
        return false;
    }
    program = image->subsystem == PeImage::kSubsystemGui ? generator::LauncherProgram::Gui
                                                         : generator::LauncherProgram::Service;
    return true;
}

int runBuild(int argc, char** argv) {
    std::string configPath, templatePath, outputPath, bootstrapPath, error;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (option.rfind("--", 0) != 0) {
            if (!configPath.empty()) return usage();
            configPath = option;
            continue;
        }
        if (i + 1 >= argc) return usage();
        const std::string argument = argv[++i];
        if (option == "--template") templatePath = argument;
        else if (option == "--output") outputPath = argument;
        else if (option == "--bootstrap") bootstrapPath = argument;
        else return usage();
    }
    if (configPath.empty() || templatePath.empty() || outputPath.empty()) return usage();
    generator::ReadOptions options;
    if (!templateProgram(templatePath, options.program, error)) return fail(error);
    // The bootstrap jar is built into the same directory as the templates.
    options.defaultBootstrapJar =
        bootstrapPath.empty() ? fs::absolute(templatePath).parent_path() / generator::kBootstrapJarName
                              : fs::absolute(bootstrapPath);
    payload::LauncherPayload payload;
    if (!generator::readLauncherConfigurationFile(configPath, options, payload, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    if (!payload::writeLauncher(templatePath, payload, outputPath, error)) return fail(error);
    std::cout << "wrote " << outputPath << " (" << payload.files.size() << " embedded files)\n";
    return 0;
}

int runInit(int argc, char** argv) {
    if (argc > 3) return usage();
    if (argc == 2) {
        std::cout << generator::kExampleConfiguration;
        return 0;
    }
    if (fs::exists(argv[2])) return fail(std::string(argv[2]) + " exists; not overwritten");
    std::ofstream out(argv[2], std::ios::binary);
    out << generator::kExampleConfiguration;
    out.close();
    if (!out) return fail(std::string("cannot write ") + argv[2]);
    std::cout << "wrote " << argv[2] << "\n";
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

int runInspect(int argc, char** argv) {
    if (argc < 3 || argc > 4 || (argc == 4 && std::strcmp(argv[3], "--raw") != 0)) return usage();
    std::string error;
    generator::LauncherProgram program;
    if (!templateProgram(argv[2], program, error)) return fail(error);
    payload::LauncherContents contents;
    if (!payload::readLauncher(argv[2], contents, error)) return fail(error);
    if (argc == 4) {
        std::cout << payload::describeLauncher(contents);
        return 0;
    }
    std::cout << "# " << argv[2] << ": " << (program == generator::LauncherProgram::Gui ? "GUI" : "service")
              << " launcher, payload at " << contents.payloadOffset << "\n";
    describeResourcesAndSignature(argv[2], contents.trailingBytes);
    std::cout << "\n" << generator::describeConfiguration(contents, program);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "build") == 0) return runBuild(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "init") == 0) return runInit(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "inspect") == 0) return runInspect(argc, argv);
    return usage();
}

// payloadtool: makes a launcher from a template and a payload description, and
// lists the payload of an existing launcher.
//
//   payloadtool write --template T --output O [--config FILE]
//                     [--set KEY=VALUE]... [--wide KEY=VALUE]...
//                     [--locale PREFIX:KEY=VALUE]... [--file NAME=PATH]...
//   payloadtool dump LAUNCHER
//   payloadtool inspect EXECUTABLE

#include "PayloadDump.h"
#include "LauncherDescription.h"
#include "PayloadWriter.h"
#include "Utf.h"
#include "core/PeImage.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

int usage() {
    std::cerr << "usage: payloadtool write --template T --output O [--config FILE] [--set KEY=VALUE]...\n"
                 "                         [--wide KEY=VALUE]... [--locale PREFIX:KEY=VALUE]...\n"
                 "                         [--file NAME=PATH]...\n"
                 "       payloadtool dump LAUNCHER\n"
                 "       payloadtool inspect EXECUTABLE\n";
    return 2;
}

int fail(const std::string& message) {
    std::cerr << "payloadtool: " << message << "\n";
    return 1;
}

int runWrite(int argc, char** argv) {
    std::string templatePath, outputPath, error;
    payload::LauncherPayload payload;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return usage();
        const std::string argument = argv[++i];
        int32_t key;
        std::string value;
        if (option == "--template") {
            templatePath = argument;
        } else if (option == "--output") {
            outputPath = argument;
        } else if (option == "--config") {
            if (!payload::readLauncherDescriptionFile(argument, payload, error)) return fail(error);
        } else if (option == "--set") {
            if (!payload::parseKeyValue(argument, key, value, error)) return fail(error);
            payload.record.narrowEntries.push_back({key, value});
        } else if (option == "--wide") {
            if (!payload::parseKeyValue(argument, key, value, error)) return fail(error);
            payload.record.wideEntries.push_back({key, utf8ToUtf16(value)});
        } else if (option == "--locale") {
            const size_t colon = argument.find(':');
            if (colon == std::string::npos) return fail("expected PREFIX:KEY=VALUE, got \"" + argument + "\"");
            if (!payload::parseKeyValue(argument.substr(colon + 1), key, value, error)) return fail(error);
            payload::addLocaleOverride(payload.record, argument.substr(0, colon), key, utf8ToUtf16(value));
        } else if (option == "--file") {
            const size_t equals = argument.find('=');
            if (equals == std::string::npos || equals == 0) return fail("expected NAME=PATH, got \"" + argument + "\"");
            payload.files.push_back({argument.substr(0, equals), argument.substr(equals + 1)});
        } else {
            return usage();
        }
    }
    if (templatePath.empty() || outputPath.empty()) return usage();
    if (!payload::writeLauncher(templatePath, payload, outputPath, error)) return fail(error);
    std::cout << "wrote " << outputPath << "\n";
    return 0;
}

int runDump(int argc, char** argv) {
    if (argc != 3) return usage();
    payload::LauncherContents contents;
    std::string error;
    if (!payload::readLauncher(argv[2], contents, error)) return fail(error);
    std::cout << payload::describeLauncher(contents);
    return 0;
}

const char* machineName(uint16_t machine) {
    switch (machine) {
        case PeImage::kMachineAmd64: return "x86-64";
        case PeImage::kMachineI386: return "x86";
        default: return "other";
    }
}

const char* subsystemName(uint16_t subsystem) {
    switch (subsystem) {
        case PeImage::kSubsystemGui: return "GUI";
        case PeImage::kSubsystemConsole: return "console";
        default: return "other";
    }
}

// What a template must be: machine, subsystem, imports, symbols and where its
// last section ends compared with the file size.
int runInspect(int argc, char** argv) {
    if (argc != 3) return usage();
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) return fail(std::string("cannot open ") + argv[2]);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    auto image = parsePeImage(bytes, &error);
    if (!image) return fail(error);
    std::cout << argv[2] << ": machine " << machineName(image->machine) << ", subsystem "
              << subsystemName(image->subsystem) << ", symbols " << image->symbolCount << ", file size "
              << bytes.size() << ", end of last section " << image->endOfLastSection() << "\n  imports:";
    for (const std::string& dll : image->importedDlls) std::cout << " " << dll;
    std::cout << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "write") == 0) return runWrite(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "dump") == 0) return runDump(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "inspect") == 0) return runInspect(argc, argv);
    return usage();
}

#include "support/RuntimeLayout.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

fs::path buildRoot() {
    const char* fromEnvironment = std::getenv("LAUNCHER_STANDIN_BUILD_ROOT");
    return fromEnvironment && *fromEnvironment ? fs::path(fromEnvironment) : fs::path(LAUNCHER_BUILD_ROOT);
}

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<std::string> readLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Copies a stand-in into `directory`; a missing jvm.dll (built elsewhere) is
// left out, any other missing stand-in is a broken test set-up.
void place(const fs::path& directory, int bits, const std::string& name) {
    const fs::path source = standinDirectory(bits) / name;
    if (!fs::exists(source)) {
        if (name == "jvm.dll") return;
        throw std::runtime_error("stand-in not built: " + source.string());
    }
    fs::create_directories(directory);
    fs::copy_file(source, directory / name, fs::copy_options::overwrite_existing);
}

// A JRE's bin directory and its lib placeholders.
void makeJre(const fs::path& home, RuntimeShape::Kind kind, int bits) {
    const fs::path bin = home / "bin";
    const int libraryBits = kind == RuntimeShape::WrongBitness ? (bits == 64 ? 32 : 64) : bits;
    const int programBits = kind == RuntimeShape::WrongBitness ? 64 : bits;
    place(bin, programBits, "java.exe");
    if (kind != RuntimeShape::NoJavaw) place(bin, programBits, "javaw.exe");
    place(bin, programBits, "unpack200.exe");
    place(bin, libraryBits, "splashscreen.dll");
    place(bin / "server", libraryBits, "jvm.dll");
    if (kind == RuntimeShape::ClientAndServer) place(bin / "client", libraryBits, "jvm.dll");

    if (kind == RuntimeShape::Packed) {
        for (const fs::path& jar : packedJars()) writeFile(home / (jar.string() + ".pack"), packContent(jar));
    } else {
        writeFile(home / "lib" / "rt.jar", "standin jar\n");
        writeFile(home / "lib" / "jsse.jar", "standin jar\n");
    }
}

// A home of links to the real runtime's files: the runtime finds its lib
// directory beside its bin directory through them, and new files land in the
// home's own directories instead of the shared cache.
void linkRealRuntime(const fs::path& home, int bits) {
    if (bits != 64) {
        throw std::runtime_error("the real runtime is an x86-64 one; no " + std::to_string(bits) + "-bit home");
    }
    const std::optional<fs::path> source = realRuntimeHome();
    if (!source) throw std::runtime_error("the real runtime has not been fetched; run scripts/setup.sh");
    fs::remove_all(home);
    fs::create_directories(home);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(*source)) {
        const fs::path target = home / fs::relative(entry.path(), *source);
        if (entry.is_directory()) {
            fs::create_directory(target);
        } else {
            fs::create_symlink(entry.path(), target);
        }
    }
}

}  // namespace

std::optional<fs::path> realRuntimeHome() {
    const fs::path home(LAUNCHER_REAL_RUNTIME_HOME);
    // The runtime is moved into place whole, so its JVM library stands for it.
    if (!fs::exists(home / "bin" / "server" / "jvm.dll")) return std::nullopt;
    return home;
}

fs::path standinDirectory(int bits) {
    return buildRoot() / (bits == 64 ? "win64" : "win32") / "tests" / "standin";
}

fs::path makeRuntimeHome(const fs::path& home, RuntimeShape::Kind kind, int bits, const std::string& versionBanner) {
    if (kind == RuntimeShape::Real) {
        linkRealRuntime(home, bits);
        return home;
    }
    if (kind == RuntimeShape::ExeOnly) {
        writeFile(home / "bin" / "java.exe", "");
        return home;
    }
    if (kind == RuntimeShape::Jdk) {
        makeJre(home / "jre", RuntimeShape::Jre, bits);
        const fs::path bin = home / "bin";
        for (const char* program : {"java.exe", "javaw.exe", "unpack200.exe"}) place(bin, bits, program);
        place(bin, bits, "splashscreen.dll");
        writeFile(home / "lib" / "tools.jar", "standin jar\n");
    } else {
        makeJre(home, kind, bits);
    }
    JavaBehaviour behaviour;
    behaviour.banner = versionBanner;
    setJavaBehaviour(home, behaviour);
    return home;
}

const std::vector<fs::path>& packedJars() {
    static const std::vector<fs::path> jars = {
        fs::path("lib") / "rt.jar",      fs::path("lib") / "jfxrt.jar",  fs::path("lib") / "charsets.jar",
        fs::path("lib") / "plugin.jar",  fs::path("lib") / "deploy.jar", fs::path("lib") / "ext" / "localedata.jar",
        fs::path("lib") / "jsse.jar"};
    return jars;
}

std::string packContent(const fs::path& jar) { return "standin pack of " + jar.generic_string() + "\n"; }

std::vector<fs::path> javaBinDirectories(const fs::path& home) {
    std::vector<fs::path> directories;
    for (const fs::path& bin : {home / "bin", home / "jre" / "bin"})
        if (fs::exists(bin / "java.exe")) directories.push_back(bin);
    return directories;
}

void setJavaBehaviour(const fs::path& home, const JavaBehaviour& behaviour) {
    std::ostringstream text;
    if (!behaviour.banner.empty()) text << "banner=" << behaviour.banner << "\n";
    for (const std::string& line : behaviour.moreLines) text << "line=" << line << "\n";
    text << "exit=" << behaviour.exitCode << "\n";
    if (behaviour.hang) text << "hang=1\n";
    if (behaviour.sleepMs > 0) text << "sleep-ms=" << behaviour.sleepMs << "\n";
    for (const fs::path& bin : javaBinDirectories(home)) writeFile(bin / kJavaConfigFile, text.str());
}

void setUnpackExitCode(const fs::path& home, int exitCode) {
    writeFile(home / "bin" / kUnpackConfigFile, "exit=" + std::to_string(exitCode) + "\n");
}

std::vector<JavaRun> javaRuns(const fs::path& home) {
    std::vector<JavaRun> runs;
    for (const fs::path& bin : javaBinDirectories(home)) {
        for (const std::string& line : readLines(bin / kJavaRunsFile)) {
            const size_t tab = line.find('\t');
            runs.push_back({line.substr(0, tab), tab == std::string::npos ? std::string() : line.substr(tab + 1)});
        }
    }
    return runs;
}

int countRuns(const fs::path& home) { return static_cast<int>(javaRuns(home).size()); }

std::vector<std::string> splashCalls(const fs::path& home) {
    std::vector<std::string> calls;
    for (const fs::path& bin : javaBinDirectories(home)) {
        const std::vector<std::string> lines = readLines(bin / kSplashCallsFile);
        calls.insert(calls.end(), lines.begin(), lines.end());
    }
    return calls;
}

std::vector<std::string> unpackRuns(const fs::path& home) { return readLines(home / "bin" / kUnpackRunsFile); }

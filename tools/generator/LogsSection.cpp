#include "ByteSize.h"
#include "Sections.h"

#include "core/ConfigKeys.h"

// [logs]: the files the bootstrap sends the application's output to, and the
// size at which it rotates them.
namespace generator {
namespace {

// Bytes as an integer, or a string with a unit ("10 MB").
bool readMaxSize(TomlFields& fields, const toml::node& node, int64_t& bytes) {
    if (const auto* number = node.as_integer()) {
        bytes = number->get();
    } else if (const auto* text = node.as_string()) {
        const std::optional<int64_t> parsed = parseByteSize(text->get());
        if (!parsed)
            return fields.fail(node, "maxSize \"" + text->get() +
                                         "\" is not a size: a whole number of bytes, optionally followed by "
                                         "KB, MB or GB (\"10 MB\")");
        bytes = *parsed;
    } else {
        return fields.fail(node, "maxSize must be an integer or a string such as \"10 MB\", not " +
                                     std::string(tomlTypeName(node)));
    }
    return bytes > 0 || fields.fail(node, "maxSize must be more than 0 bytes");
}

// The limit reaches the bootstrap as two system properties among the JVM
// options; keep is always written, so the bootstrap's own default never
// decides.
bool readLogLimit(SectionContext& context, const toml::table& logs) {
    TomlFields& fields = context.fields;
    const toml::node* maxSize = logs.get("maxSize");
    const toml::node* keep = logs.get("keep");
    if (!maxSize) return !keep || fields.fail(*keep, "keep needs maxSize: only logs with a size limit are rotated");
    int64_t bytes = 0;
    if (!readMaxSize(fields, *maxSize, bytes)) return false;
    bool ok = true;
    const auto* kept = fields.field<int64_t>(logs, "keep", "an integer", ok);
    if (!ok) return false;
    if (kept && (kept->get() < 1 || kept->get() > kMostLogsKept))
        return fields.fail(*kept, "keep must be from 1 to " + std::to_string(kMostLogsKept));
    const int64_t count = kept ? kept->get() : kDefaultLogKeep;
    const SectionContext::VmOption options[] = {
        {systemPropertyPrefix(kLogMaxSizeProperty) + std::to_string(bytes), maxSize->source()},
        {systemPropertyPrefix(kLogKeepProperty) + std::to_string(count), kept ? kept->source() : maxSize->source()}};
    return context.addVmOptions(options, maxSize->source());
}

}  // namespace

bool readLogs(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* logs = fields.section(root, "logs", {"errorFile", "outputFile", "maxSize", "keep"}, ok);
    if (!logs) return ok;
    const auto* errorFile = fields.text(*logs, "errorFile", ok);
    const auto* outputFile = fields.text(*logs, "outputFile", ok);
    if (!ok) return false;
    if (errorFile && (!context.setFlag(config::kPassErrorFile, true, errorFile->source()) ||
                      !context.setNarrow(config::kErrorFile, *errorFile)))
        return false;
    if (outputFile && (!context.setFlag(config::kPassOutputFile, true, outputFile->source()) ||
                       !context.setNarrow(config::kOutputFile, *outputFile)))
        return false;
    return readLogLimit(context, *logs);
}

}  // namespace generator

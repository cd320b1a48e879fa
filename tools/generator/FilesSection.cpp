#include "Sections.h"

#include "Utf.h"

#include <algorithm>
#include <fstream>

// [files]: the bootstrap jar and the files embedded beside it, in the order
// the launcher extracts them.
namespace generator {
namespace {

bool embed(SectionContext& context, std::string name, const std::filesystem::path& source,
           const toml::source_region& where) {
    std::replace(name.begin(), name.end(), '/', '\\');
    if (name.empty() || name.front() == '\\' || name.back() == '\\' || std::count(name.begin(), name.end(), '\\') > 1 ||
        name.find_first_of(";:*?\"<>|") != std::string::npos || name.find("..") != std::string::npos)
        return context.fields.fail(where, "embedded file name \"" + name +
                                            "\" must be a plain file name, optionally in one sub-directory "
                                            "(\"lib\\\\app.jar\")");
    for (const payload::EmbeddedFile& file : context.result.files)
        if (file.name == name) return context.fields.fail(where, "\"" + name + "\" is embedded twice");
    const std::filesystem::path path = context.resolve(source);
    if (context.options.checkFiles) {
        std::error_code ec;
        std::ifstream in(path, std::ios::binary);
        if (!in || std::filesystem::is_directory(path, ec))
            return context.fields.fail(where, "cannot read the file to embed: " + pathText(path));
    }
    context.result.files.push_back({std::move(name), path});
    return true;
}

// Embedded unless bootstrapJar is false; true takes the jar beside the template.
bool embedBootstrapJar(SectionContext& context, const toml::table& root, const toml::table* files) {
    const toml::node* bootstrap = files ? files->get("bootstrapJar") : nullptr;
    const std::string name(kBootstrapJarName);
    if (!bootstrap || (bootstrap->is_boolean() && bootstrap->as_boolean()->get())) {
        const toml::source_region where = bootstrap ? bootstrap->source() : (files ? files->source() : root.source());
        if (context.options.defaultBootstrapJar.empty())
            return context.fields.fail(where, "no bootstrap jar known; set files.bootstrapJar to its path, or to false");
        return embed(context, name, context.options.defaultBootstrapJar, where);
    }
    if (const auto* path = bootstrap->as_string()) return embed(context, name, utf8Path(path->get()), path->source());
    if (!bootstrap->is_boolean())
        return context.fields.fail(*bootstrap, "bootstrapJar must be true, false or a path, not " +
                                                 std::string(tomlTypeName(*bootstrap)));
    return true;
}

}  // namespace

bool readFiles(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* files = fields.section(root, "files", {"bootstrapJar", "embed"}, ok);
    if (!ok) return false;
    if (!embedBootstrapJar(context, root, files)) return false;
    const toml::node* node = files ? files->get("embed") : nullptr;
    if (!node) return true;
    const toml::array* list = node->as_array();
    if (!list)
        return fields.fail(*node, "embed must be an array of tables ([[files.embed]]), not " +
                                    std::string(tomlTypeName(*node)));
    for (const toml::node& item : *list) {
        const toml::table* entry = item.as_table();
        if (!entry) return fields.fail(item, "an embedded file must be a table, not " + std::string(tomlTypeName(item)));
        if (!fields.onlyFields(*entry, "an embedded file", {"name", "source"})) return false;
        const auto* source = fields.text(*entry, "source", ok);
        const auto* name = fields.text(*entry, "name", ok);
        if (!ok) return false;
        if (!source) return fields.fail(*entry, "an embedded file needs its source path");
        const std::filesystem::path sourcePath = utf8Path(source->get());
        const std::string fileName = name ? name->get() : pathText(sourcePath.filename());
        if (!embed(context, fileName, sourcePath, (name ? *name : *source).source())) return false;
    }
    return true;
}

}  // namespace generator

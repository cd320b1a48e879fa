#include "Sections.h"

#include "Utf.h"

// [resources]: the launcher's icon and version information.
namespace generator {
namespace {

// Version texts share the 64 KiB of one version resource.
constexpr size_t kVersionTextCapacity = 1024;

bool readVersion(SectionContext& context, const toml::table& version) {
    TomlFields& fields = context.fields;
    if (!fields.onlyFields(version, "[resources.version]", {"fileVersion", "productVersion", "productName", "company",
                                                          "description", "copyright"}))
        return false;
    bool ok = true;
    resources::VersionInfo info;
    const auto* fileVersion = fields.text(version, "fileVersion", ok);
    const auto* productVersion = fields.text(version, "productVersion", ok);
    std::string* texts[] = {&info.productName, &info.company, &info.description, &info.copyright};
    const char* names[] = {"productName", "company", "description", "copyright"};
    for (size_t i = 0; i < 4 && ok; ++i) {
        const auto* value = fields.text(version, names[i], ok);
        if (!value) continue;
        if (utf8ToUtf16(value->get()).size() > kVersionTextCapacity)
            return fields.fail(*value, std::string(names[i]) + " is longer than " +
                                         std::to_string(kVersionTextCapacity) + " characters");
        *texts[i] = value->get();
    }
    if (!ok) return false;
    for (const auto* number : {fileVersion, productVersion}) {
        if (number && !resources::parseVersionNumber(number->get()))
            return fields.fail(*number, "version \"" + number->get() +
                                          "\" must be one to four numbers from 0 to 65535 separated by dots "
                                          "(\"1.2.3.4\")");
    }
    // Each version number stands in for the other when only one is given.
    const auto* fileSide = fileVersion ? fileVersion : productVersion;
    const auto* productSide = productVersion ? productVersion : fileVersion;
    if (fileSide) {
        info.fileVersion = *resources::parseVersionNumber(fileSide->get());
        info.fileVersionText = fileSide->get();
        info.productVersion = *resources::parseVersionNumber(productSide->get());
        info.productVersionText = productSide->get();
    }
    context.result.resources.version = std::move(info);
    return true;
}

}  // namespace

bool readResources(SectionContext& context, const toml::table& root) {
    TomlFields& fields = context.fields;
    bool ok = true;
    const toml::table* res = fields.section(root, "resources", {"icon", "version"}, ok);
    if (!res) return ok;
    const auto* icon = fields.text(*res, "icon", ok);
    const toml::table* version = fields.section(*res, "version", ok);
    if (!ok) return false;
    if (icon && context.options.checkFiles) {
        std::string problem;
        if (!context.readFile(*icon, "icon file", context.result.resources.icon)) return false;
        if (!resources::checkIconFile(context.result.resources.icon, problem))
            return fields.fail(*icon, "icon file " + pathText(context.resolve(*icon)) + " " + problem);
    }
    return !version || readVersion(context, *version);
}

}  // namespace generator

package org.jlaunchkit.maven;

import org.apache.maven.plugin.MojoExecutionException;

/**
 * One entry of the inline Java search, written in the pom as "kind" or
 * "kind:argument" ("registry", "environment:JAVA_HOME", "bundled:jre",
 * "directory:C:\Java\jdk-17"), and its inline table in the configuration.
 * The generator checks the kinds and says which ones exist; this only knows
 * that an environment source names a variable and every other one a path.
 */
final class SearchSource {
    private final String kind;
    private final String argument;

    private SearchSource(String kind, String argument) {
        this.kind = kind;
        this.argument = argument;
    }

    /** Splits at the first colon, so a Windows path keeps its drive letter. */
    static SearchSource parse(String entry) throws MojoExecutionException {
        String text = entry == null ? "" : entry.trim();
        int colon = text.indexOf(':');
        String kind = colon < 0 ? text : text.substring(0, colon).trim();
        if (kind.isEmpty()) {
            throw new MojoExecutionException("a <search> entry needs a kind, e.g. \"registry\" or"
                    + " \"environment:JAVA_HOME\"; found \"" + text + "\"");
        }
        return new SearchSource(kind, colon < 0 ? null : text.substring(colon + 1));
    }

    /** The source as a TOML inline table. */
    String toToml() {
        StringBuilder table = new StringBuilder("{ kind = ").append(TomlText.string(kind));
        if (argument != null) {
            table.append(", ").append("environment".equals(kind) ? "variable" : "path").append(" = ")
                    .append(TomlText.string(argument));
        }
        return table.append(" }").toString();
    }
}

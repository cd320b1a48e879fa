package org.jlaunchkit.maven;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;

import org.apache.maven.plugin.MojoExecutionException;

/**
 * The launcher described by the plugin's own parameters, written as the
 * generator's TOML configuration (field names as in docs/configuration.md).
 * The application's jar is embedded; the generator adds the bootstrap jar.
 */
final class InlineConfiguration {
    private String name;
    private String mainClass;
    private Path jar;
    private List<String> search = Collections.emptyList();
    private List<String> vmOptions = Collections.emptyList();
    private String minVersion;
    private String maxVersion;

    InlineConfiguration name(String value) {
        name = value;
        return this;
    }

    InlineConfiguration mainClass(String value) {
        mainClass = value;
        return this;
    }

    InlineConfiguration jar(Path value) {
        jar = value;
        return this;
    }

    /** Null or empty: the launcher's default search. */
    InlineConfiguration search(List<String> value) {
        search = value == null ? Collections.<String>emptyList() : value;
        return this;
    }

    InlineConfiguration vmOptions(List<String> value) {
        vmOptions = value == null ? Collections.<String>emptyList() : value;
        return this;
    }

    InlineConfiguration versions(String min, String max) {
        minVersion = min;
        maxVersion = max;
        return this;
    }

    /** The configuration file's text; fails on what the pom left out or left empty. */
    String toToml() throws MojoExecutionException {
        if (isBlank(mainClass)) {
            throw new MojoExecutionException("the launcher needs <mainClass>, or a TOML file in <configuration>");
        }
        if (jar == null) {
            throw new MojoExecutionException("the launcher needs the application's <jar>");
        }
        StringBuilder toml = new StringBuilder("# Written by launcher-maven-plugin from its settings in the pom.\n");
        toml.append("[application]\n");
        if (!isBlank(name)) {
            toml.append("name = ").append(TomlText.string(name)).append('\n');
        }
        toml.append("mainClass = ").append(TomlText.string(mainClass.trim())).append("\n\n");

        toml.append("[[files.embed]]\n");
        toml.append("source = ").append(TomlText.string(jar.toAbsolutePath().toString())).append("\n\n");

        List<String> sources = new ArrayList<>();
        for (String entry : search) {
            sources.add(SearchSource.parse(entry).toToml());
        }
        if (!sources.isEmpty() || !isBlank(minVersion) || !isBlank(maxVersion)) {
            toml.append("[java]\n");
            if (!sources.isEmpty()) {
                toml.append("search = [\n");
                for (String source : sources) {
                    toml.append("  ").append(source).append(",\n");
                }
                toml.append("]\n");
            }
            appendIfGiven(toml, "minVersion", minVersion);
            appendIfGiven(toml, "maxVersion", maxVersion);
            toml.append('\n');
        }

        if (!vmOptions.isEmpty()) {
            for (String option : vmOptions) {
                if (isBlank(option)) {
                    throw new MojoExecutionException("<vmOptions> holds an empty entry");
                }
            }
            toml.append("[vm]\n").append("options = ").append(TomlText.stringArray(vmOptions)).append('\n');
        }
        return toml.toString();
    }

    private static void appendIfGiven(StringBuilder toml, String field, String value) {
        if (!isBlank(value)) {
            toml.append(field).append(" = ").append(TomlText.string(value.trim())).append('\n');
        }
    }

    private static boolean isBlank(String text) {
        return text == null || text.trim().isEmpty();
    }
}

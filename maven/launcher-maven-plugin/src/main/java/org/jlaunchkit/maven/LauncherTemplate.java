package org.jlaunchkit.maven;

import java.util.Locale;

import org.apache.maven.plugin.MojoExecutionException;

/** The four launcher templates the plugin carries, by the names a pom gives them. */
enum LauncherTemplate {
    GUI64("gui64", "guilauncher64.exe"),
    GUI32("gui32", "guilauncher32.exe"),
    SERVICE64("service64", "svclauncher64.exe"),
    SERVICE32("service32", "svclauncher32.exe");

    private final String pomName;
    private final String fileName;

    LauncherTemplate(String pomName, String fileName) {
        this.pomName = pomName;
        this.fileName = fileName;
    }

    String fileName() {
        return fileName;
    }

    /** The template a pom names, in any case. */
    static LauncherTemplate named(String name) throws MojoExecutionException {
        String wanted = name == null ? "" : name.trim().toLowerCase(Locale.ROOT);
        StringBuilder known = new StringBuilder();
        for (LauncherTemplate template : values()) {
            if (template.pomName.equals(wanted)) {
                return template;
            }
            known.append(known.length() == 0 ? "" : ", ").append(template.pomName);
        }
        throw new MojoExecutionException("<template> \"" + name + "\" is not one of " + known);
    }
}

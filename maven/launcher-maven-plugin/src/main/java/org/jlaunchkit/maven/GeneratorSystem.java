package org.jlaunchkit.maven;

import java.util.Locale;

import org.apache.maven.plugin.MojoExecutionException;

/**
 * The systems the plugin carries a generator for, chosen from the build's
 * os.name and os.arch. The name of each is the folder of its generator among
 * the plugin's resources.
 */
enum GeneratorSystem {
    LINUX_X86_64("linux-x86_64", "launchergen"),
    WINDOWS_X86_64("windows-x86_64", "launchergen.exe");

    private final String name;
    private final String generatorFileName;

    GeneratorSystem(String name, String generatorFileName) {
        this.name = name;
        this.generatorFileName = generatorFileName;
    }

    String systemName() {
        return name;
    }

    String generatorFileName() {
        return generatorFileName;
    }

    /** The system of this JVM. */
    static GeneratorSystem current() throws MojoExecutionException {
        return of(System.getProperty("os.name"), System.getProperty("os.arch"));
    }

    /**
     * Windows reports its edition in os.name ("Windows 11", "Windows Server
     * 2022"); x86-64 is "amd64" on most JVMs and "x86_64" on some.
     */
    static GeneratorSystem of(String osName, String osArch) throws MojoExecutionException {
        String os = osName == null ? "" : osName.trim().toLowerCase(Locale.ROOT);
        String arch = osArch == null ? "" : osArch.trim().toLowerCase(Locale.ROOT);
        boolean x86_64 = arch.equals("amd64") || arch.equals("x86_64");
        if (x86_64 && os.equals("linux")) {
            return LINUX_X86_64;
        }
        if (x86_64 && os.startsWith("windows")) {
            return WINDOWS_X86_64;
        }
        StringBuilder supported = new StringBuilder();
        for (GeneratorSystem system : values()) {
            supported.append(supported.length() == 0 ? "" : " and ").append(system.name);
        }
        throw new MojoExecutionException("launcher-maven-plugin has no launchergen for this build's system, "
                + osName + " on " + osArch + " (os.name, os.arch); it carries one for " + supported);
    }
}

package org.jlaunchkit.maven;

import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;

import org.apache.maven.plugin.MojoExecutionException;

/**
 * What the plugin carries among its resources under jlaunchkit/: the
 * templates with the bootstrap jar beside them (templates/), and one generator
 * per system (linux-x86_64/launchergen, windows-x86_64/launchergen.exe).
 * Each is copied into a directory of the build on every use, so a newer
 * plugin never runs an older generator left there.
 */
final class BundledFiles {
    private static final String BOOTSTRAP_JAR = "launcher-bootstrap.jar";
    private static final String ROOT = "jlaunchkit/";

    private final Path directory;

    BundledFiles(Path directory) {
        this.directory = directory;
    }

    Path template(LauncherTemplate template) throws MojoExecutionException {
        return extract("templates/" + template.fileName());
    }

    Path bootstrapJar() throws MojoExecutionException {
        return extract("templates/" + BOOTSTRAP_JAR);
    }

    /** The generator for {@code system}, executable. */
    Path generator(GeneratorSystem system) throws MojoExecutionException {
        Path generator = extract(system.systemName() + "/" + system.generatorFileName());
        if (!Files.isExecutable(generator) && !generator.toFile().setExecutable(true)) {
            throw new MojoExecutionException("cannot make " + generator + " executable");
        }
        return generator;
    }

    private Path extract(String name) throws MojoExecutionException {
        Path target = directory.resolve(name);
        try (InputStream in = BundledFiles.class.getClassLoader().getResourceAsStream(ROOT + name)) {
            if (in == null) {
                throw new MojoExecutionException("this launcher-maven-plugin was built without " + name);
            }
            Files.createDirectories(target.getParent());
            Files.copy(in, target, StandardCopyOption.REPLACE_EXISTING);
        } catch (IOException e) {
            throw new MojoExecutionException("cannot write " + target + ": " + e.getMessage(), e);
        }
        return target;
    }
}

package org.jlaunchkit.maven;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;

import org.apache.maven.plugin.AbstractMojo;
import org.apache.maven.plugin.MojoExecutionException;
import org.apache.maven.plugin.MojoFailureException;
import org.apache.maven.plugins.annotations.LifecyclePhase;
import org.apache.maven.plugins.annotations.Mojo;
import org.apache.maven.plugins.annotations.Parameter;
import org.apache.maven.project.MavenProject;

/**
 * Writes a Windows launcher for the project: a template the plugin carries
 * with the launcher's configuration appended by launchergen, the generator
 * the plugin carries for the build's system. The configuration is a TOML
 * file ({@code configuration}) or the fields below, which the plugin writes
 * into one under target/jlaunchkit; either way the generator's messages go to
 * the build log and an error fails the build.
 */
@Mojo(name = "launcher", defaultPhase = LifecyclePhase.PACKAGE, threadSafe = true)
public class LauncherMojo extends AbstractMojo {
    @Parameter(defaultValue = "${project}", readonly = true, required = true)
    private MavenProject project;

    @Parameter(defaultValue = "${project.build.directory}", readonly = true, required = true)
    private File buildDirectory;

    /**
     * A launcher configuration in TOML (docs/configuration.md), handed to the
     * generator as it is; its relative paths are taken from its own
     * directory. Instead of the inline fields.
     */
    @Parameter(property = "launcher.configuration")
    private File configuration;

    /** The application's name, and the launcher's file name unless outputFile is set. */
    @Parameter(property = "launcher.name", defaultValue = "${project.artifactId}")
    private String name;

    /** The application's main class (inline configuration). */
    @Parameter(property = "launcher.mainClass")
    private String mainClass;

    /** The jar to embed (inline configuration); by default the project's own jar. */
    @Parameter(property = "launcher.jar")
    private File jar;

    /**
     * Where the launcher looks for Java, in order: "kind" or "kind:argument",
     * e.g. "registry", "environment:JAVA_HOME", "bundled:jre", "path"
     * (inline configuration). Left out: the launcher's default search.
     */
    @Parameter
    private List<String> search;

    /** Options for the JVM (inline configuration). */
    @Parameter
    private List<String> vmOptions;

    /** The oldest Java version accepted, e.g. "1.8" or "17" (inline configuration). */
    @Parameter(property = "launcher.minVersion")
    private String minVersion;

    /** The newest Java version accepted (inline configuration). */
    @Parameter(property = "launcher.maxVersion")
    private String maxVersion;

    /** gui64, gui32, service64 or service32. */
    @Parameter(property = "launcher.template", defaultValue = "gui64")
    private String template;

    /** The launcher to write; by default target/NAME.exe. */
    @Parameter(property = "launcher.outputFile")
    private File outputFile;

    @Parameter(property = "launcher.skip", defaultValue = "false")
    private boolean skip;

    @Override
    public void execute() throws MojoExecutionException, MojoFailureException {
        if (skip) {
            getLog().info("launcher: skipped");
            return;
        }
        LauncherTemplate chosenTemplate = LauncherTemplate.named(template);
        GeneratorSystem system = GeneratorSystem.current();
        Path workDirectory = buildDirectory.toPath().resolve("jlaunchkit");
        Path output = (outputFile != null ? outputFile : new File(buildDirectory, name + ".exe")).toPath();
        Path configurationFile = configuration != null ? givenConfiguration() : writeInlineConfiguration(
                workDirectory.resolve(output.getFileName().toString().replaceFirst("(?i)\\.exe$", "") + ".toml"));

        BundledFiles bundled = new BundledFiles(workDirectory);
        try {
            Files.createDirectories(output.toAbsolutePath().getParent());
        } catch (IOException e) {
            throw new MojoExecutionException("cannot make the directory of " + output + ": " + e.getMessage(), e);
        }
        GeneratorRun run = GeneratorRun.build(bundled.generator(system), configurationFile,
                bundled.template(chosenTemplate), bundled.bootstrapJar(), output.toAbsolutePath());
        for (String line : run.output()) {
            if (run.exitCode() == 0) {
                getLog().info(line);
            } else {
                getLog().error(line);
            }
        }
        if (run.exitCode() != 0) {
            throw new MojoFailureException("launchergen wrote no launcher from " + configurationFile
                    + " (exit code " + run.exitCode() + "); its messages are above");
        }
    }

    private Path givenConfiguration() throws MojoExecutionException {
        if (mainClass != null || jar != null || search != null || vmOptions != null || minVersion != null
                || maxVersion != null) {
            throw new MojoExecutionException("give the launcher either a TOML file in <configuration> or the"
                    + " inline fields (mainClass, jar, search, vmOptions, minVersion, maxVersion), not both");
        }
        if (!configuration.isFile()) {
            throw new MojoExecutionException("<configuration> " + configuration + " is not a file");
        }
        return configuration.toPath().toAbsolutePath();
    }

    private Path writeInlineConfiguration(Path file) throws MojoExecutionException {
        String toml = new InlineConfiguration().name(name).mainClass(mainClass).jar(applicationJar().toPath())
                .search(search).vmOptions(vmOptions).versions(minVersion, maxVersion).toToml();
        try {
            Files.createDirectories(file.getParent());
            Files.write(file, toml.getBytes(StandardCharsets.UTF_8));
        } catch (IOException e) {
            throw new MojoExecutionException("cannot write " + file + ": " + e.getMessage(), e);
        }
        return file.toAbsolutePath();
    }

    // The project's artifact is a jar file only once the package phase made it.
    private File applicationJar() throws MojoExecutionException {
        if (jar != null) {
            return jar;
        }
        File artifact = project.getArtifact().getFile();
        if (artifact == null || !artifact.isFile()) {
            throw new MojoExecutionException("the project's jar is not built yet: run the goal in the package"
                    + " phase (its default) or name a jar in <jar>");
        }
        return artifact;
    }
}

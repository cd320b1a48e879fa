package org.jlaunchkit.maven;

import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStreamReader;
import java.nio.charset.Charset;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;

import org.apache.maven.plugin.MojoExecutionException;

/**
 * One run of launchergen: its exit code and every line it printed, standard
 * output and error together in the order written (its errors are
 * "file:line:column: message" lines the build log passes on).
 */
final class GeneratorRun {
    private final int exitCode;
    private final List<String> output;

    private GeneratorRun(int exitCode, List<String> output) {
        this.exitCode = exitCode;
        this.output = Collections.unmodifiableList(output);
    }

    int exitCode() {
        return exitCode;
    }

    List<String> output() {
        return output;
    }

    /** launchergen build CONFIGURATION --template TEMPLATE --output OUTPUT --bootstrap JAR */
    static GeneratorRun build(Path generator, Path configuration, Path template, Path bootstrapJar, Path output)
            throws MojoExecutionException {
        return run(Arrays.asList(generator.toString(), "build", configuration.toString(),
                "--template", template.toString(), "--output", output.toString(),
                "--bootstrap", bootstrapJar.toString()));
    }

    static GeneratorRun run(List<String> command) throws MojoExecutionException {
        Process process;
        try {
            process = new ProcessBuilder(command).redirectErrorStream(true).start();
        } catch (IOException e) {
            throw new MojoExecutionException("cannot start " + command.get(0) + ": " + e.getMessage(), e);
        }
        List<String> lines = new ArrayList<>();
        try (BufferedReader reader = new BufferedReader(
                new InputStreamReader(process.getInputStream(), Charset.defaultCharset()))) {
            for (String line = reader.readLine(); line != null; line = reader.readLine()) {
                lines.add(line);
            }
            return new GeneratorRun(process.waitFor(), lines);
        } catch (IOException e) {
            process.destroy();
            throw new MojoExecutionException("cannot read what " + command.get(0) + " printed: " + e.getMessage(), e);
        } catch (InterruptedException e) {
            process.destroy();
            Thread.currentThread().interrupt();
            throw new MojoExecutionException("interrupted while " + command.get(0) + " ran", e);
        }
    }
}

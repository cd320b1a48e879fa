package org.jlaunchkit.maven;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;
import static org.junit.Assume.assumeNoException;

import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.List;
import java.util.regex.Pattern;

import org.apache.maven.plugin.MojoExecutionException;
import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

/**
 * The plugin's carried files and its configuration text against the real
 * generator it carries for this system: what the pom says is what the
 * launcher holds, and the generator's errors point into the written file.
 */
public class GeneratorRoundTripTest {
    @Rule
    public TemporaryFolder folder = new TemporaryFolder();

    private BundledFiles bundled;
    private Path generator;
    private Path jar;

    @Before
    public void extractTheCarriedFiles() throws IOException, MojoExecutionException {
        GeneratorSystem system = null;
        try {
            system = GeneratorSystem.current();
        } catch (MojoExecutionException e) {
            assumeNoException("no generator for this system", e);
        }
        bundled = new BundledFiles(folder.newFolder("carried").toPath());
        generator = bundled.generator(system);
        // Quotes and backslashes in the jar's directory reach the file as escapes.
        Path directory = Files.createDirectories(folder.getRoot().toPath().resolve("we\"ird\\dir"));
        jar = Files.write(directory.resolve("app.jar"), "not really a jar".getBytes(StandardCharsets.UTF_8));
    }

    private Path write(InlineConfiguration configuration) throws IOException, MojoExecutionException {
        return Files.write(folder.getRoot().toPath().resolve("launcher.toml"),
                configuration.toToml().getBytes(StandardCharsets.UTF_8));
    }

    private GeneratorRun build(Path configuration, LauncherTemplate template, Path output)
            throws MojoExecutionException {
        return GeneratorRun.build(generator, configuration, bundled.template(template), bundled.bootstrapJar(),
                output);
    }

    @Test
    public void theLauncherHoldsWhatThePomSaid() throws Exception {
        Path configuration = write(new InlineConfiguration().name("Zo\u00eb's \"Tool\"").mainClass("org.example.Main")
                .jar(jar).search(Arrays.asList("registry", "environment:JAVA_HOME", "directory:C:\\Java\\jdk 17"))
                .versions("1.8", "21")
                .vmOptions(Arrays.asList("-Xmx64m", "-Dtitle=My App", "-Dhome=%ZELKOR_EXEDIR%")));
        Path launcher = folder.getRoot().toPath().resolve("app.exe");

        GeneratorRun run = build(configuration, LauncherTemplate.GUI64, launcher);
        assertEquals(run.output().toString(), 0, run.exitCode());
        assertEquals(Arrays.asList("wrote " + launcher + " (2 embedded files)"), run.output());

        GeneratorRun inspect = GeneratorRun.run(Arrays.asList(generator.toString(), "inspect", launcher.toString()));
        assertEquals(inspect.output().toString(), 0, inspect.exitCode());
        List<String> expectedLines = Arrays.asList(
                "name = \"Zo\u00eb's \\\"Tool\\\"\"",
                "mainClass = \"org.example.Main\"",
                "  { kind = \"registry\" },",
                "  { kind = \"environment\", variable = \"JAVA_HOME\" },",
                "  { kind = \"directory\", path = 'C:\\Java\\jdk 17' },",
                "minVersion = \"1.8\"",
                "maxVersion = \"21\"",
                "options = [\"-Xmx64m\", \"-Dtitle=My App\", \"-Dhome=%ZELKOR_EXEDIR%\"]",
                "name = \"launcher-bootstrap.jar\"",
                "name = \"app.jar\"");
        for (String line : expectedLines) {
            assertTrue(line + " in\n" + String.join("\n", inspect.output()), inspect.output().contains(line));
        }
    }

    @Test
    public void eachTemplateMakesItsKindOfLauncherForItsMachine() throws Exception {
        Path configuration = write(new InlineConfiguration().name("app").mainClass("org.example.Main").jar(jar));
        Object[][] cases = {
            {LauncherTemplate.GUI64, "GUI launcher", 0x8664},
            {LauncherTemplate.GUI32, "GUI launcher", 0x14c},
            {LauncherTemplate.SERVICE64, "service launcher", 0x8664},
            {LauncherTemplate.SERVICE32, "service launcher", 0x14c},
        };
        for (Object[] c : cases) {
            Path launcher = folder.getRoot().toPath().resolve(c[0] + ".exe");
            GeneratorRun run = build(configuration, (LauncherTemplate) c[0], launcher);
            assertEquals(c[0] + ": " + run.output(), 0, run.exitCode());
            GeneratorRun inspect = GeneratorRun.run(Arrays.asList(generator.toString(), "inspect",
                    launcher.toString()));
            assertTrue(c[0] + ": " + inspect.output(), inspect.output().get(0).contains(": " + c[1] + ", payload at"));
            assertEquals(c[0].toString(), c[2], peMachine(launcher));
        }
    }

    @Test
    public void generatorErrorsPointIntoTheWrittenFile() throws Exception {
        InlineConfiguration wrong = new InlineConfiguration().name("app").mainClass("org.example.Main").jar(jar)
                .search(Arrays.asList("registry", "nowhere:x"));
        Path configuration = write(wrong);
        List<String> written = Files.readAllLines(configuration, StandardCharsets.UTF_8);
        int line = written.indexOf("  { kind = \"nowhere\", path = \"x\" },") + 1;
        assertTrue(written.toString(), line > 0);
        Path launcher = folder.getRoot().toPath().resolve("app.exe");

        GeneratorRun run = build(configuration, LauncherTemplate.GUI64, launcher);
        assertEquals(1, run.exitCode());
        assertEquals(run.output().toString(), 1, run.output().size());
        String message = run.output().get(0);
        assertTrue(message, message.matches(Pattern.quote(configuration + ":" + line + ":")
                + "\\d+: .*\"nowhere\".*"));
        assertFalse("no launcher is written", Files.exists(launcher));
    }

    // IMAGE_FILE_HEADER.Machine, behind the "PE\0\0" the DOS header points to.
    private static int peMachine(Path exe) throws IOException {
        ByteBuffer bytes = ByteBuffer.wrap(Files.readAllBytes(exe)).order(ByteOrder.LITTLE_ENDIAN);
        int peHeader = bytes.getInt(0x3c);
        assertEquals(0x00004550, bytes.getInt(peHeader));
        return bytes.getShort(peHeader + 4) & 0xffff;
    }
}

package org.jlaunchkit.maven;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import java.nio.file.Paths;
import java.util.Arrays;
import java.util.Collections;

import org.apache.maven.plugin.MojoExecutionException;
import org.junit.Test;

public class InlineConfigurationTest {
    private static InlineConfiguration minimal() {
        return new InlineConfiguration().name("app").mainClass("org.example.Main").jar(Paths.get("/tmp/app.jar"));
    }

    @Test
    public void searchEntriesBecomeSourceTables() throws MojoExecutionException {
        String[][] cases = {
            {"registry", "{ kind = \"registry\" }"},
            {" path ", "{ kind = \"path\" }"},
            {"environment:JAVA_HOME", "{ kind = \"environment\", variable = \"JAVA_HOME\" }"},
            {"bundled:jre", "{ kind = \"bundled\", path = \"jre\" }"},
            // Only the first colon separates: the drive letter stays in the path.
            {"directory:C:\\Java\\jdk-17", "{ kind = \"directory\", path = \"C:\\\\Java\\\\jdk-17\" }"},
            {"directory:%ZELKOR_EXEDIR%\\..\\jre", "{ kind = \"directory\", path = \"%ZELKOR_EXEDIR%\\\\..\\\\jre\" }"},
            // Kinds are the generator's to check, and an empty argument its to refuse.
            {"nowhere:x", "{ kind = \"nowhere\", path = \"x\" }"},
            {"environment:", "{ kind = \"environment\", variable = \"\" }"},
        };
        for (String[] c : cases) {
            assertEquals(c[0], c[1], SearchSource.parse(c[0]).toToml());
        }
    }

    @Test
    public void searchEntriesWithoutAKindAreRefused() {
        for (String entry : new String[] {"", "  ", ":JAVA_HOME", null}) {
            try {
                SearchSource.parse(entry);
                fail("\"" + entry + "\" has no kind");
            } catch (MojoExecutionException e) {
                assertTrue(e.getMessage(), e.getMessage().startsWith("a <search> entry needs a kind"));
            }
        }
    }

    @Test
    public void sectionsAppearOnlyWithTheirFields() throws MojoExecutionException {
        String bare = minimal().toToml();
        // No [java]: the launcher keeps its default search.
        assertFalse(bare, bare.contains("[java]"));
        assertFalse(bare, bare.contains("[vm]"));
        assertTrue(bare, bare.contains("[[files.embed]]\nsource = "));

        String versionsOnly = minimal().versions("1.8", " ").toToml();
        assertTrue(versionsOnly, versionsOnly.contains("[java]\nminVersion = \"1.8\"\n\n"));
        assertFalse(versionsOnly, versionsOnly.contains("search"));
        assertFalse(versionsOnly, versionsOnly.contains("maxVersion"));

        String full = minimal().search(Arrays.asList("registry", "environment:JAVA_HOME")).versions("11", "21")
                .vmOptions(Arrays.asList("-Xmx64m", "-Dtitle=My \"App\"")).toToml();
        assertTrue(full, full.contains("[java]\nsearch = [\n  { kind = \"registry\" },\n"
                + "  { kind = \"environment\", variable = \"JAVA_HOME\" },\n]\nminVersion = \"11\"\nmaxVersion = \"21\"\n"));
        assertTrue(full, full.contains("[vm]\noptions = [\"-Xmx64m\", \"-Dtitle=My \\\"App\\\"\"]\n"));
    }

    @Test
    public void theNameIsLeftOutWhenBlank() throws MojoExecutionException {
        assertFalse(minimal().name(" ").toToml().contains("name ="));
        assertTrue(minimal().toToml().contains("[application]\nname = \"app\"\nmainClass = \"org.example.Main\"\n"));
    }

    @Test
    public void missingOrEmptyFieldsAreRefusedWithTheirPomNames() {
        Object[][] cases = {
            {minimal().mainClass(null), "<mainClass>"},
            {minimal().mainClass("  "), "<mainClass>"},
            {minimal().jar(null), "<jar>"},
            {minimal().vmOptions(Arrays.asList("-Xmx64m", null)), "<vmOptions>"},
            {minimal().vmOptions(Collections.singletonList("")), "<vmOptions>"},
            {minimal().search(Collections.singletonList("")), "<search>"},
        };
        for (Object[] c : cases) {
            try {
                ((InlineConfiguration) c[0]).toToml();
                fail("expected a complaint about " + c[1]);
            } catch (MojoExecutionException e) {
                assertTrue(e.getMessage(), e.getMessage().contains((String) c[1]));
            }
        }
    }
}

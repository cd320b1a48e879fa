package org.jlaunchkit.maven;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import org.apache.maven.plugin.MojoExecutionException;
import org.junit.Test;

public class LauncherTemplateTest {
    @Test
    public void pomNamesChooseTheTemplateFile() throws MojoExecutionException {
        String[][] cases = {
            {"gui64", "guilauncher64.exe"},
            {"gui32", "guilauncher32.exe"},
            {"service64", "svclauncher64.exe"},
            {" Service32 ", "svclauncher32.exe"},
        };
        for (String[] c : cases) {
            assertEquals(c[0], c[1], LauncherTemplate.named(c[0]).fileName());
        }
    }

    @Test
    public void unknownNamesListTheKnownOnes() {
        for (String name : new String[] {"gui", "console64", "guilauncher64.exe", "", null}) {
            try {
                LauncherTemplate.named(name);
                fail(name + " is no template");
            } catch (MojoExecutionException e) {
                assertTrue(e.getMessage(), e.getMessage().endsWith("is not one of gui64, gui32, service64, service32"));
            }
        }
    }
}

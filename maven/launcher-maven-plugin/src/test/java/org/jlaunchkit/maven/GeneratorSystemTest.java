package org.jlaunchkit.maven;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import org.apache.maven.plugin.MojoExecutionException;
import org.junit.Test;

public class GeneratorSystemTest {
    @Test
    public void buildSystemsPickTheirGenerator() throws MojoExecutionException {
        Object[][] cases = {
            {"Linux", "amd64", GeneratorSystem.LINUX_X86_64},
            {"linux", "x86_64", GeneratorSystem.LINUX_X86_64},
            {"Windows 10", "amd64", GeneratorSystem.WINDOWS_X86_64},
            {"Windows Server 2022", "AMD64", GeneratorSystem.WINDOWS_X86_64},
            {"Windows 11", "x86_64", GeneratorSystem.WINDOWS_X86_64},
        };
        for (Object[] c : cases) {
            assertEquals(c[0] + " " + c[1], c[2], GeneratorSystem.of((String) c[0], (String) c[1]));
        }
    }

    @Test
    public void otherSystemsFailNamingWhatWasFoundAndWhatIsSupported() {
        String[][] cases = {
            {"Mac OS X", "aarch64"},
            {"Mac OS X", "x86_64"},
            {"Linux", "aarch64"},
            {"Linux", "i386"},
            {"Windows 10", "x86"},
            {"Windows 11", "aarch64"},
            {"FreeBSD", "amd64"},
            {"LinuxLike", "amd64"},
            {null, null},
        };
        for (String[] c : cases) {
            try {
                GeneratorSystem.of(c[0], c[1]);
                fail(c[0] + " " + c[1] + " has no generator");
            } catch (MojoExecutionException e) {
                String message = e.getMessage();
                assertTrue(message, message.contains(c[0] + " on " + c[1]));
                assertTrue(message, message.contains("linux-x86_64 and windows-x86_64"));
            }
        }
    }
}

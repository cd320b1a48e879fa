package org.jlaunchkit.bootstrap;

import static org.junit.Assert.assertEquals;

import java.nio.file.Paths;
import java.util.Optional;
import java.util.OptionalInt;
import java.util.OptionalLong;

import org.junit.After;
import org.junit.Test;

public class LauncherPropertiesTest {
    private static final String[] NAMES = {
        "zelkor.consoleCodepage", "zelkor.unextractedPosition", "zelkor.tempDir", "zelkor.isService",
        "zelkor.processCommFile",
    };

    @After
    public void clearProperties() {
        for (String name : NAMES) {
            System.clearProperty(name);
        }
    }

    private static void set(String name, String value) {
        if (value == null) {
            System.clearProperty(name);
        } else {
            System.setProperty(name, value);
        }
    }

    @Test
    public void consoleCodePage() {
        Object[][] cases = {
            {"cp850", OptionalInt.of(850)},
            {"cp65001", OptionalInt.of(65001)},
            {"cp0", OptionalInt.of(0)},
            {null, OptionalInt.empty()},
            {"", OptionalInt.empty()},
            {"cp", OptionalInt.empty()},
            {"850", OptionalInt.empty()},
            {"cp-5", OptionalInt.empty()},
            {"cp+5", OptionalInt.empty()},
            {"cp85x", OptionalInt.empty()},
            {"cp99999999999", OptionalInt.empty()},
        };
        for (Object[] c : cases) {
            set("zelkor.consoleCodepage", (String) c[0]);
            assertEquals("value " + c[0], c[1], Launcher.consoleCodePage());
        }
    }

    @Test
    public void unextractedPosition() {
        Object[][] cases = {
            {"0", OptionalLong.of(0)},
            {"40960", OptionalLong.of(40960)},
            {"-1", OptionalLong.empty()},
            {"-2147483648", OptionalLong.of(2147483648L)},
            {"-2", OptionalLong.of(4294967294L)},
            {null, OptionalLong.empty()},
            {"", OptionalLong.empty()},
            {"x1", OptionalLong.empty()},
        };
        for (Object[] c : cases) {
            set("zelkor.unextractedPosition", (String) c[0]);
            assertEquals("value " + c[0], c[1], Launcher.unextractedPosition());
        }
    }

    @Test
    public void emptyPropertiesMeanAbsent() {
        set("zelkor.tempDir", "");
        set("zelkor.processCommFile", "");
        assertEquals(Optional.empty(), Launcher.tempDir());
        assertEquals(Optional.empty(), Launcher.processCommFile());
        set("zelkor.tempDir", "/tmp/app-files");
        assertEquals(Optional.of(Paths.get("/tmp/app-files")), Launcher.tempDir());
    }

    @Test
    public void onlyTheLaunchersOwnTrueMakesAService() {
        String[][] cases = {{"true", "true"}, {"TRUE", "false"}, {"", "false"}, {null, "false"}};
        for (String[] c : cases) {
            set("zelkor.isService", c[0]);
            assertEquals("value " + c[0], Boolean.parseBoolean(c[1]), Launcher.isService());
        }
    }
}

package org.jlaunchkit.bootstrap;

import static org.junit.Assert.assertEquals;

import java.util.OptionalInt;
import java.util.OptionalLong;
import java.util.function.Supplier;

import org.junit.After;
import org.junit.Test;

public class LauncherPropertiesTest {
    @After
    public void clearProperties() {
        System.clearProperty("zelkor.consoleCodepage");
        System.clearProperty("zelkor.unextractedPosition");
    }

    private static void check(String name, Supplier<Object> accessor, Object[][] cases) {
        for (Object[] c : cases) {
            if (c[0] == null) {
                System.clearProperty(name);
            } else {
                System.setProperty(name, (String) c[0]);
            }
            assertEquals(name + "=" + c[0], c[1], accessor.get());
        }
    }

    @Test
    public void consoleCodePage() {
        check("zelkor.consoleCodepage", Launcher::consoleCodePage, new Object[][] {
            {"cp850", OptionalInt.of(850)}, {"cp0", OptionalInt.of(0)}, {null, OptionalInt.empty()},
            {"cp", OptionalInt.empty()}, {"850", OptionalInt.empty()}, {"cp-5", OptionalInt.empty()},
            {"cp+5", OptionalInt.empty()}, {"cp99999999999", OptionalInt.empty()},
        });
    }

    @Test
    public void unextractedPositionIsUnsignedAndMinusOneMeansNone() {
        check("zelkor.unextractedPosition", Launcher::unextractedPosition, new Object[][] {
            {"0", OptionalLong.of(0)}, {"40960", OptionalLong.of(40960)}, {"-1", OptionalLong.empty()},
            {"-2147483648", OptionalLong.of(2147483648L)}, {null, OptionalLong.empty()}, {"x1", OptionalLong.empty()},
        });
    }
}

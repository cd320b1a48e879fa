package org.jlaunchkit.bootstrap;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.fail;

import java.util.Arrays;
import java.util.Optional;

import org.junit.Test;

public class LaunchFactsTest {
    @Test
    public void refusesLayoutsWithoutTheFiveLeadingArguments() {
        String[][] bad = {null, {}, {"true", "M", "", ""}, {"true", "", "", "", "false"}, {"true", "M", null, "", "false"}};
        for (String[] args : bad) {
            try {
                LaunchFacts.fromArguments(args);
                fail("accepted " + Arrays.toString(args));
            } catch (IllegalArgumentException expected) {
                // refused
            }
        }
    }

    @Test
    public void readsTheLayout() {
        Object[][] cases = {
            // arguments; gui, extra flag, error log, program word, user arguments
            {new String[] {"false", "M", "", "", "true"}, false, true, Optional.empty(), Optional.empty(), Arrays.asList()},
            {new String[] {"true", "M", "C:\\e.log", "", "false", ""}, true, false, Optional.of("C:\\e.log"),
                Optional.of(""), Arrays.asList()},
            {new String[] {"true", "M", "", "o", "false", "app", "", "two words"}, true, false, Optional.empty(),
                Optional.of("app"), Arrays.asList("", "two words")},
        };
        for (Object[] c : cases) {
            LaunchFacts facts = LaunchFacts.fromArguments((String[]) c[0]);
            String what = Arrays.toString((String[]) c[0]);
            assertEquals(what, c[1], facts.guiLauncher());
            assertEquals(what, c[2], facts.extraFlag());
            assertEquals(what, c[3], facts.errorLog());
            assertEquals(what, c[4], facts.programWord());
            assertEquals(what, c[5], facts.userArguments());
        }
    }
}

package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

import org.jlaunchkit.bootstrap.FirstRunHandler;
import org.jlaunchkit.bootstrap.Launcher;
import org.junit.Test;

public class BootstrapTest {
    @Test
    public void runsTheMainClassWithTheArgumentsAfterTheProgramWord() {
        TestMains.received = null;
        Bootstrap.run(new String[] {"true", TestMains.Recording.class.getName(), "", "", "false", "app.exe", "-x", "y z"});
        assertArrayEquals(new String[] {"-x", "y z"}, TestMains.received);
        assertEquals("app.exe", Launcher.launchFacts().get().programWord().get());
    }

    @Test
    public void tooFewArgumentsAreReportedOnTheErrorStream() throws Exception {
        PrintStream original = System.err;
        ByteArrayOutputStream complaints = new ByteArrayOutputStream();
        System.setErr(new PrintStream(complaints, true, "UTF-8"));
        try {
            Bootstrap.run(new String[] {"true", "org.example.Main"});
            fail("ran with two arguments");
        } catch (IllegalArgumentException expected) {
            assertTrue(complaints.toString("UTF-8").contains(expected.getMessage()));
        } finally {
            System.setErr(original);
        }
    }

    @Test
    public void firstRunHandlersRunInOrderUntilOneSaysStop() {
        Object[][] cases = {{"", true, ""}, {"tt", true, "01"}, {"tft", false, "01"}, {"f", false, "0"}};
        for (Object[] c : cases) {
            StringBuilder calls = new StringBuilder();
            List<FirstRunHandler> handlers = new ArrayList<>();
            for (char answer : ((String) c[0]).toCharArray()) {
                int index = handlers.size();
                handlers.add(() -> {
                    calls.append(index);
                    return answer == 't';
                });
            }
            assertEquals((String) c[0], c[1], Bootstrap.runFirstRunHandlers(handlers));
            assertEquals((String) c[0], c[2], calls.toString());
        }
    }

    @Test
    public void firstRunFindsTheApplicationsHandlersThroughTheServiceLoader() {
        for (boolean answer : Arrays.asList(true, false)) {
            TestMains.firstRunAnswer = answer;
            int before = TestMains.firstRunCalls;
            assertEquals(answer, com.brantel.runtime.launcher.FirstRun.firstRun());
            assertEquals(before + 1, TestMains.firstRunCalls);
        }
    }
}

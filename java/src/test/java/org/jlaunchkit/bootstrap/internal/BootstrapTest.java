package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import java.io.ByteArrayOutputStream;
import java.io.InputStream;
import java.io.PipedInputStream;
import java.io.PipedOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;

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
    public void aServiceChildAnswersTheStopLineFromBeforeMain() throws Exception {
        String[] args = {"false", TestMains.StopWatcherProbe.class.getName(), "", "", "false"};
        Bootstrap.run(args);
        assertFalse("outside a service", TestMains.stopWatcherSeen);

        InputStream originalIn = System.in;
        PipedOutputStream serviceLauncher = new PipedOutputStream();
        System.setIn(new PipedInputStream(serviceLauncher));
        System.setProperty("zelkor.isService", "true");
        try {
            Bootstrap.run(args);
            assertTrue("in a service", TestMains.stopWatcherSeen);
            // Registered after the start; turning the exit off keeps this JVM alive.
            List<Integer> heard = new CopyOnWriteArrayList<>();
            Launcher.addStopListener(heard::add);
            Launcher.setExitAfterStop(false);
            Thread watcher = TestMains.stopWatcherThread();
            serviceLauncher.write("0\n".getBytes(StandardCharsets.US_ASCII));
            serviceLauncher.close();
            watcher.join(10_000);
            assertEquals(Arrays.asList(0), heard);
        } finally {
            System.clearProperty("zelkor.isService");
            System.setIn(originalIn);
            Launcher.setExitAfterStop(true);
        }
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

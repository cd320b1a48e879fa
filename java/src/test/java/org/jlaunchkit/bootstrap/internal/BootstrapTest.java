package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;

import org.jlaunchkit.bootstrap.FirstRunHandler;
import org.jlaunchkit.bootstrap.LaunchFacts;
import org.jlaunchkit.bootstrap.Launcher;
import org.junit.Test;

public class BootstrapTest {
    @Test
    public void runsTheMainClassWithTheUserArguments() {
        TestMains.received = null;
        Bootstrap.run(new String[] {
            "true", TestMains.Recording.class.getName(), "", "", "false", "app.exe", "-x", "two words"});
        assertArrayEquals(new String[] {"-x", "two words"}, TestMains.received);
        LaunchFacts facts = Launcher.launchFacts().get();
        assertEquals("app.exe", facts.programWord().get());
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

    private static FirstRunHandler handler(List<String> calls, String name, boolean answer) {
        return () -> {
            calls.add(name);
            return answer;
        };
    }

    @Test
    public void firstRunHandlersRunInOrderUntilOneSaysStop() {
        List<String> calls = new ArrayList<>();
        assertTrue(Bootstrap.runFirstRunHandlers(Collections.<FirstRunHandler>emptyList()));
        assertTrue(Bootstrap.runFirstRunHandlers(Arrays.asList(handler(calls, "a", true), handler(calls, "b", true))));
        assertEquals(Arrays.asList("a", "b"), calls);
        calls.clear();
        assertFalse(Bootstrap.runFirstRunHandlers(Arrays.asList(
                handler(calls, "a", true), handler(calls, "b", false), handler(calls, "c", true))));
        assertEquals(Arrays.asList("a", "b"), calls);
    }

    @Test
    public void aHandlerFailurePropagates() {
        IllegalStateException failure = new IllegalStateException("first run failed");
        try {
            Bootstrap.runFirstRunHandlers(Collections.<FirstRunHandler>singletonList(() -> {
                throw failure;
            }));
            fail("no exception");
        } catch (IllegalStateException e) {
            assertEquals(failure, e);
        }
    }

    @Test
    public void firstRunFindsTheApplicationsHandlersThroughTheServiceLoader() {
        for (boolean answer : new boolean[] {true, false}) {
            TestMains.firstRunAnswer = answer;
            int before = TestMains.firstRunCalls;
            assertEquals(answer, com.brantel.runtime.launcher.FirstRun.firstRun());
            assertEquals(before + 1, TestMains.firstRunCalls);
        }
    }
}

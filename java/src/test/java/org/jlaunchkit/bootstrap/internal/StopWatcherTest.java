package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.io.ByteArrayInputStream;
import java.io.InputStream;
import java.io.PipedInputStream;
import java.io.PipedOutputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.atomic.AtomicInteger;

import org.jlaunchkit.bootstrap.StopListener;
import org.junit.Test;

public class StopWatcherTest {
    private static InputStream input(String text) {
        return new ByteArrayInputStream(text.getBytes(StandardCharsets.US_ASCII));
    }

    @Test
    public void readsTheShutdownCode() {
        Object[][] cases = {
            {"0\n", 0},
            {"", 0},
            {"\n\n", 0},
            {"noise\n 3 \n4\n", 3},
            {"7", 7},
            {"-1\r\n", -1},
        };
        for (Object[] c : cases) {
            assertEquals("input [" + c[0] + "]", c[1], StopWatcher.awaitStopCode(input((String) c[0])));
        }
    }

    @Test
    public void everyListenerHearsOnceThenTheProcessExitsUnlessTurnedOff() {
        for (boolean exitWanted : new boolean[] {true, false}) {
            List<Integer> heard = Collections.synchronizedList(new ArrayList<Integer>());
            AtomicInteger exits = new AtomicInteger();
            List<StopListener> listeners = Arrays.asList(
                    heard::add,
                    code -> {
                        throw new IllegalStateException("a failing listener");
                    },
                    code -> heard.add(code + 100));
            new StopWatcher(input("0\n"), listeners, () -> exitWanted, exits::incrementAndGet).run();
            assertEquals(Arrays.asList(0, 100), heard);
            assertEquals(exitWanted ? 1 : 0, exits.get());
        }
    }

    @Test
    public void aStopThatFindsNoListenerAlwaysExits() {
        for (boolean exitWanted : new boolean[] {true, false}) {
            AtomicInteger exits = new AtomicInteger();
            new StopWatcher(input("0\n"), Collections.<StopListener>emptyList(), () -> exitWanted,
                    exits::incrementAndGet).run();
            assertEquals("exit wanted: " + exitWanted, 1, exits.get());
        }
    }

    @Test
    public void listenersRegisteredAfterTheStartAreCalled() throws Exception {
        PipedOutputStream serviceLauncher = new PipedOutputStream();
        PipedInputStream stdin = new PipedInputStream(serviceLauncher);
        List<StopListener> listeners = new CopyOnWriteArrayList<>();
        List<Integer> heard = Collections.synchronizedList(new ArrayList<Integer>());
        AtomicInteger exits = new AtomicInteger();
        Thread thread = StopWatcher.start(new StopWatcher(stdin, listeners, () -> false, exits::incrementAndGet));
        assertTrue(thread.isDaemon());
        listeners.add(heard::add);
        serviceLauncher.write("3\n".getBytes(StandardCharsets.US_ASCII));
        serviceLauncher.close();
        thread.join(10_000);
        assertFalse(thread.isAlive());
        assertEquals(Arrays.asList(3), heard);
        assertEquals(0, exits.get());
    }
}

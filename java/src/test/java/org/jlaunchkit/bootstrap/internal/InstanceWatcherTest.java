package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;

import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class InstanceWatcherTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private static void write(Path file, String text) throws Exception {
        Files.write(file, text.getBytes(StandardCharsets.UTF_16LE));
    }

    private static boolean waitUntilGone(Path file) throws InterruptedException {
        for (int i = 0; i < 500 && Files.exists(file); i++) {
            Thread.sleep(10);
        }
        return !Files.exists(file);
    }

    @Test
    public void deliversEachFileOnceInOrderAndDeletesIt() throws Exception {
        Path file = temp.getRoot().toPath().resolve("zkr_p42.tmp");
        BlockingQueue<List<String>> received = new LinkedBlockingQueue<>();
        InstanceDeliveries deliveries = new InstanceDeliveries();
        Thread watcher = InstanceWatcher.start(new InstanceWatcher(file, deliveries, 10));
        try {
            // Before any listener: the arguments wait for the first one.
            write(file, "one 'two three'\n");
            assertTrue("first file not deleted", waitUntilGone(file));
            deliveries.addListener(received::add);
            deliveries.addListener(arguments -> {
                throw new IllegalStateException("a failing listener");
            });
            write(file, "second\n");
            assertTrue("second file not deleted", waitUntilGone(file));
            assertEquals(Arrays.asList("one", "two three"), received.poll(5, TimeUnit.SECONDS));
            assertEquals(Arrays.asList("second"), received.poll(5, TimeUnit.SECONDS));
            assertEquals(null, received.poll(100, TimeUnit.MILLISECONDS));
            assertTrue(watcher.isDaemon());
        } finally {
            watcher.interrupt();
            watcher.join(5000);
        }
        assertFalse(watcher.isAlive());
    }

    @Test
    public void anUnfinishedFileIsWaitedForThenTakenAsItIs() throws Exception {
        Path file = temp.getRoot().toPath().resolve("zkr_p7.tmp");
        List<List<String>> received = new ArrayList<>();
        InstanceDeliveries deliveries = new InstanceDeliveries();
        deliveries.addListener(received::add);
        InstanceWatcher watcher = new InstanceWatcher(file, deliveries, 0);
        write(file, "partial");
        for (int i = 1; i < InstanceWatcher.PATIENCE_POLLS; i++) {
            watcher.poll();
        }
        assertTrue(Files.exists(file));
        assertTrue(received.isEmpty());
        watcher.poll();
        assertFalse(Files.exists(file));
        assertEquals(Collections.singletonList(Arrays.asList("partial")), received);
    }
}

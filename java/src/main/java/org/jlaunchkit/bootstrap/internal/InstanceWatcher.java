package org.jlaunchkit.bootstrap.internal;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.Collections;

import org.jlaunchkit.bootstrap.InstanceListener;

/**
 * Takes the arguments of second starts from the communication file. The
 * second start creates the file, writes its command line and then waits (at
 * most ten seconds) for the file to disappear; so each file is read, deleted
 * at once — whether or not anyone listens yet — and only then handed to the
 * listeners, which may take their time. One thread does it all, so files are
 * delivered once each and in the order they came.
 */
public final class InstanceWatcher implements Runnable {
    private static final String PROPERTY = "zelkor.processCommFile";
    private static final long POLL_MILLIS = 75;
    /** About three seconds: a file that stays unreadable or unfinished this long is taken as it is. */
    static final int PATIENCE_POLLS = 40;

    private static final InstanceDeliveries DELIVERIES = new InstanceDeliveries();
    private static boolean started;

    private final Path file;
    private final InstanceDeliveries deliveries;
    private final long pollMillis;
    private int waitingPolls;
    private boolean undeleted;

    InstanceWatcher(Path file, InstanceDeliveries deliveries, long pollMillis) {
        this.file = file;
        this.deliveries = deliveries;
        this.pollMillis = pollMillis;
    }

    public static void addListener(InstanceListener listener) {
        DELIVERIES.addListener(listener);
    }

    /** Starts watching when the launcher runs in single-instance mode; only once per process. */
    public static synchronized void startIfConfigured() {
        String name = System.getProperty(PROPERTY);
        if (started || name == null || name.isEmpty()) {
            return;
        }
        try {
            start(new InstanceWatcher(Paths.get(name), DELIVERIES, POLL_MILLIS));
            started = true;
        } catch (InvalidPathException e) {
            System.err.println("launcher bootstrap: unusable " + PROPERTY + " " + name + ": " + e.getMessage());
        }
    }

    /** A daemon thread: watching never keeps the JVM alive. */
    static Thread start(InstanceWatcher watcher) {
        Thread thread = new Thread(watcher, "launcher-instance-watcher");
        thread.setDaemon(true);
        thread.start();
        return thread;
    }

    @Override
    public void run() {
        while (!Thread.currentThread().isInterrupted()) {
            poll();
            try {
                Thread.sleep(pollMillis);
            } catch (InterruptedException e) {
                return;
            }
        }
    }

    /** One look at the file. */
    void poll() {
        if (!Files.exists(file)) {
            undeleted = false;
            waitingPolls = 0;
            return;
        }
        if (undeleted) {
            // Already delivered; only its removal is still owed.
            undeleted = !delete();
            return;
        }
        byte[] content = read();
        boolean complete = content != null && CommFile.isComplete(content);
        if (!complete && ++waitingPolls < PATIENCE_POLLS) {
            return;
        }
        waitingPolls = 0;
        undeleted = !delete();
        if (content == null) {
            System.err.println("launcher bootstrap: dropped the unreadable instance file " + file);
            return;
        }
        deliveries.deliver(Collections.unmodifiableList(CommFile.arguments(content)));
    }

    private byte[] read() {
        try {
            return Files.readAllBytes(file);
        } catch (IOException e) {
            // Usually the second start still has it open for writing.
            return null;
        }
    }

    private boolean delete() {
        try {
            Files.deleteIfExists(file);
            return true;
        } catch (IOException e) {
            return false;
        }
    }
}

package org.jlaunchkit.bootstrap.internal;

import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.util.List;
import java.util.Objects;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.function.BooleanSupplier;

import org.jlaunchkit.bootstrap.Launcher;
import org.jlaunchkit.bootstrap.StopListener;

/**
 * Waits for the service launcher's stop request. The service launcher runs
 * the JVM in a child process whose standard input is a pipe; a stop or
 * shutdown request arrives there as the decimal shutdown code and a line
 * feed, and then the pipe closes. The end of the stream without a code (the
 * service launcher went away) counts as a stop with code 0. Lines that are not
 * a number are skipped.
 * <p>
 * The bootstrap starts the watcher in every service child, whether or not the
 * application knows this library: a stop that finds no listener ends the
 * process with {@code System.exit(0)}, so the application's shutdown hooks run.
 * Listeners are read from their shared list when the stop arrives, so those
 * registered after the watcher started are called as well.
 */
public final class StopWatcher implements Runnable {
    private static final List<StopListener> LISTENERS = new CopyOnWriteArrayList<>();
    private static volatile boolean exitAfterStop = true;
    private static boolean started;

    private final InputStream input;
    private final List<StopListener> listeners;
    private final BooleanSupplier exitWanted;
    private final Runnable exit;

    StopWatcher(InputStream input, List<StopListener> listeners, BooleanSupplier exitWanted, Runnable exit) {
        this.input = input;
        this.listeners = listeners;
        this.exitWanted = exitWanted;
        this.exit = exit;
    }

    public static void addListener(StopListener listener) {
        LISTENERS.add(Objects.requireNonNull(listener, "listener"));
    }

    public static void setExitAfterStop(boolean exit) {
        exitAfterStop = exit;
    }

    /** Starts reading standard input in the service launcher's child; only once per process. */
    static synchronized void startIfService() {
        if (started || !Launcher.isService()) {
            return;
        }
        started = true;
        start(new StopWatcher(System.in, LISTENERS, () -> exitAfterStop, () -> System.exit(0)));
    }

    /** A daemon thread: waiting for the stop never keeps the JVM alive. */
    static Thread start(StopWatcher watcher) {
        Thread thread = new Thread(watcher, "launcher-stop-watcher");
        thread.setDaemon(true);
        thread.start();
        return thread;
    }

    @Override
    public void run() {
        int code = awaitStopCode(input);
        boolean anyCalled = false;
        for (StopListener listener : listeners) {
            Listeners.callSafely("stop listener", () -> listener.stopRequested(code));
            anyCalled = true;
        }
        // Without a listener the application has no way of its own to end.
        if (!anyCalled || exitWanted.getAsBoolean()) {
            exit.run();
        }
    }

    /** Blocks until the first line holding a number, or the end of the stream (code 0). */
    static int awaitStopCode(InputStream input) {
        BufferedReader reader = new BufferedReader(new InputStreamReader(input, StandardCharsets.US_ASCII));
        try {
            for (String line; (line = reader.readLine()) != null;) {
                try {
                    return Integer.parseInt(line.trim());
                } catch (NumberFormatException e) {
                    // not a stop request
                }
            }
        } catch (IOException e) {
            // a broken pipe ends the conversation just like its end
        }
        return 0;
    }
}

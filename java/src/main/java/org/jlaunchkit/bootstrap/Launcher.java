package org.jlaunchkit.bootstrap;

import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.Optional;
import java.util.OptionalInt;
import java.util.OptionalLong;

import org.jlaunchkit.bootstrap.internal.Bootstrap;
import org.jlaunchkit.bootstrap.internal.InstanceWatcher;
import org.jlaunchkit.bootstrap.internal.StopWatcher;

/**
 * The launcher as the application sees it: the system properties the launcher
 * sets when it creates the JVM, the facts of the launch, and the hooks for
 * second starts and service stop requests. Every accessor answers "absent"
 * rather than failing when the application runs without the launcher.
 */
public final class Launcher {
    private static final String PREFIX = "zelkor.";

    private Launcher() {
    }

    /** The directory the launcher extracted its embedded files into; absent when none was made. */
    public static Optional<Path> tempDir() {
        return path(property("tempDir"));
    }

    /** The launcher executable's own path. */
    public static Optional<String> moduleName() {
        return property("moduleName");
    }

    /** True in the service launcher's child process. */
    public static boolean isService() {
        return "true".equals(System.getProperty(PREFIX + "isService"));
    }

    /** True when the launcher runs in its brantel flavour. */
    public static boolean isBrantel() {
        return "true".equals(System.getProperty(PREFIX + "isBrantel"));
    }

    /**
     * The position in the launcher executable just past its last extracted
     * file (0 when nothing was extracted). Absent when the property is missing
     * or malformed, and for the -1 the launcher passes after a restart for a
     * language change. The launcher prints the unsigned position as a signed
     * 32-bit number; it is read back as unsigned here.
     */
    public static OptionalLong unextractedPosition() {
        Optional<String> text = property("unextractedPosition");
        if (!text.isPresent()) {
            return OptionalLong.empty();
        }
        try {
            int signed = Integer.parseInt(text.get());
            return signed == -1 ? OptionalLong.empty() : OptionalLong.of(Integer.toUnsignedLong(signed));
        } catch (NumberFormatException e) {
            return OptionalLong.empty();
        }
    }

    /**
     * The output code page of the launcher's console, from "cp850" and the like;
     * 0 when the launcher has no console. Absent when the launcher did not say
     * (it leaves the property out when MANPATH is set) or the value is malformed.
     */
    public static OptionalInt consoleCodePage() {
        Optional<String> text = property("consoleCodepage");
        if (!text.isPresent() || !text.get().startsWith("cp")) {
            return OptionalInt.empty();
        }
        String digits = text.get().substring(2);
        if (digits.isEmpty() || !digits.chars().allMatch(c -> c >= '0' && c <= '9')) {
            return OptionalInt.empty();
        }
        try {
            return OptionalInt.of(Integer.parseInt(digits));
        } catch (NumberFormatException e) {
            return OptionalInt.empty();
        }
    }

    /** The name of the semaphore that marks this launcher instance. */
    public static Optional<String> semaphoreName() {
        return property("semaphoreName");
    }

    /** The file through which second starts hand over their arguments (single-instance mode only). */
    public static Optional<Path> processCommFile() {
        return path(property("processCommFile"));
    }

    /** The facts of the launch; absent when the application was not started through the bootstrap. */
    public static Optional<LaunchFacts> launchFacts() {
        return Optional.ofNullable(Bootstrap.facts());
    }

    /**
     * Registers a listener for second starts. Second starts are only handed
     * over in single-instance mode; ones that arrive while no listener is
     * registered are consumed and dropped, so the second start never waits.
     */
    public static void addInstanceListener(InstanceListener listener) {
        InstanceWatcher.addListener(listener);
    }

    /**
     * Registers a listener for the service manager's stop request. In the
     * service launcher's child the bootstrap waits for that request from the
     * start, whether or not a listener is registered: without one, a stop
     * ends the process with {@code System.exit(0)}, so shutdown hooks are
     * enough for an application that knows nothing of this class. Listeners
     * may be registered at any time before the stop arrives; each is called
     * with the code on the bootstrap's stop thread. Outside the service
     * launcher listeners are kept but never called.
     */
    public static void addStopListener(StopListener listener) {
        StopWatcher.addListener(listener);
    }

    /**
     * Whether the process calls {@code System.exit(0)} after the stop listeners
     * have returned (the default). An application that ends its own way
     * turns this off and must then end the process itself. It only applies
     * when a stop listener is registered: a stop that finds none always exits.
     */
    public static void setExitAfterStop(boolean exit) {
        StopWatcher.setExitAfterStop(exit);
    }

    private static Optional<String> property(String name) {
        String value = System.getProperty(PREFIX + name);
        return value == null || value.isEmpty() ? Optional.<String>empty() : Optional.of(value);
    }

    private static Optional<Path> path(Optional<String> text) {
        if (!text.isPresent()) {
            return Optional.empty();
        }
        try {
            return Optional.of(Paths.get(text.get()));
        } catch (InvalidPathException e) {
            return Optional.empty();
        }
    }
}

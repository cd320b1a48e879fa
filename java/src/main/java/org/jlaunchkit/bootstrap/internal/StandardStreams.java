package org.jlaunchkit.bootstrap.internal;

import java.io.FileOutputStream;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.nio.file.Paths;

/**
 * Points System.err and System.out at the launcher's log files. A log that
 * cannot be opened is reported on the original error stream and that stream
 * stays as it was: the application still starts.
 */
final class StandardStreams {
    private StandardStreams() {
    }

    /** Either path may be "" for "leave this stream alone". */
    static void redirect(String errorLog, String outputLog) {
        PrintStream err = errorLog.isEmpty() ? null : open(errorLog);
        PrintStream out = null;
        if (!outputLog.isEmpty()) {
            out = err != null && sameFile(errorLog, outputLog) ? err : open(outputLog);
        }
        if (err != null) {
            System.setErr(err);
        }
        if (out != null) {
            System.setOut(out);
        }
    }

    /**
     * Opens a log for appending, making the file and its missing parent
     * directories. Unbuffered beneath the stream's own encoder, so that what
     * the application printed is in the file even when it ends the process
     * abruptly.
     */
    static PrintStream open(String name) {
        try {
            Path file = Paths.get(name);
            Path parent = file.toAbsolutePath().getParent();
            if (parent != null) {
                Files.createDirectories(parent);
            }
            return new PrintStream(new FileOutputStream(file.toFile(), true), true);
        } catch (IOException | InvalidPathException | SecurityException e) {
            System.err.println("launcher bootstrap: cannot open the log file " + name + ": " + e);
            return null;
        }
    }

    /** Called after the first file was opened, so an existing second path is compared as a file. */
    static boolean sameFile(String first, String second) {
        try {
            Path a = Paths.get(first);
            Path b = Paths.get(second);
            if (Files.exists(a) && Files.exists(b)) {
                return Files.isSameFile(a, b);
            }
            return a.toAbsolutePath().normalize().equals(b.toAbsolutePath().normalize());
        } catch (IOException | InvalidPathException e) {
            return first.equals(second);
        }
    }
}

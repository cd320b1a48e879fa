package org.jlaunchkit.bootstrap.internal;

import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.Optional;

/**
 * Points System.err and System.out at the launcher's log files, rotated at
 * their size limit when one is configured. A log that cannot be opened is
 * reported on the original error stream and that stream stays as it was: the
 * application still starts.
 */
final class StandardStreams {
    private StandardStreams() {
    }

    /**
     * Either path may be "" for "leave this stream alone". Problems, rotation
     * failures included, are reported on the error stream as it is on entry.
     */
    static void redirect(String errorLog, String outputLog, Optional<LogLimit> limit) {
        PrintStream complaints = System.err;
        PrintStream err = errorLog.isEmpty() ? null : open(errorLog, limit, complaints);
        PrintStream out = null;
        if (!outputLog.isEmpty()) {
            out = err != null && sameFile(errorLog, outputLog) ? err : open(outputLog, limit, complaints);
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
    static PrintStream open(String name, Optional<LogLimit> limit, PrintStream complaints) {
        try {
            Path file = Paths.get(name);
            Path parent = file.toAbsolutePath().getParent();
            if (parent != null) {
                Files.createDirectories(parent);
            }
            OutputStream log = limit.isPresent() ? RotatingLogStream.open(file, limit.get(), complaints)
                    : new FileOutputStream(file.toFile(), true);
            return new PrintStream(log, true);
        } catch (IOException | InvalidPathException | SecurityException e) {
            complaints.println("launcher bootstrap: cannot open the log file " + name + ": " + e);
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

package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;

import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class RotatingLogStreamTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private final ByteArrayOutputStream complaints = new ByteArrayOutputStream();
    private Path log;

    @Before
    public void makeLog() {
        log = temp.getRoot().toPath().resolve("app.log");
    }

    private RotatingLogStream open(long maxSize, int keep) throws IOException {
        return RotatingLogStream.open(log, new LogLimit(maxSize, keep), new PrintStream(complaints, true));
    }

    private Path rotated(int number) {
        return log.resolveSibling("app.log." + number);
    }

    private static void write(Path file, String text) throws IOException {
        Files.write(file, text.getBytes(StandardCharsets.UTF_8));
    }

    private static void write(RotatingLogStream stream, String text) throws IOException {
        stream.write(text.getBytes(StandardCharsets.UTF_8));
    }

    private static String read(Path file) throws IOException {
        return new String(Files.readAllBytes(file), StandardCharsets.UTF_8);
    }

    @Test
    public void aFullLogIsRotatedAtOpenAndTheOldestDropped() throws Exception {
        write(log, "full");
        write(rotated(1), "older");
        write(rotated(2), "oldest");
        try (RotatingLogStream stream = open(4, 2)) {
            write(stream, "new");
        }
        assertEquals("new", read(log));
        assertEquals("full", read(rotated(1)));
        assertEquals("older", read(rotated(2)));
        assertFalse(Files.exists(rotated(3)));
    }

    @Test
    public void aWriteThatWouldPassTheLimitStartsAFreshFile() throws Exception {
        write(log, "123");
        try (RotatingLogStream stream = open(10, 3)) {
            write(stream, "4567890");
            write(stream, "ab");
            write(stream, "c");
            write(stream, "0123456789xyz");
            write(stream, "!");
        }
        assertEquals("!", read(log));
        assertEquals("0123456789xyz", read(rotated(1)));
        assertEquals("abc", read(rotated(2)));
        assertEquals("1234567890", read(rotated(3)));
    }

    @Test
    public void theLineEndOfALineStaysWithIt() throws Exception {
        try (RotatingLogStream stream = open(12, 1)) {
            write(stream, "first\n");
            write(stream, "second");
            write(stream, "\r\n");
            write(stream, "third\n");
        }
        assertEquals("first\nsecond\r\n", read(rotated(1)));
        assertEquals("third\n", read(log));
    }

    @Test
    public void aFailedRotationLosesNothingIsReportedOnceAndTriedAgainLater() throws Exception {
        // A directory that is not empty can be neither deleted nor replaced.
        Path blocker = rotated(1).resolve("inside");
        Files.createDirectories(rotated(1));
        write(blocker, "x");
        try (RotatingLogStream stream = open(4, 1)) {
            for (String piece : new String[] {"abc", "def", "ghi", "jkl"}) {
                write(stream, piece);
            }
            assertEquals("abcdefghijkl", read(log));
            Files.delete(blocker);
            Files.delete(rotated(1));
            write(stream, "mnop");
        }
        assertEquals("abcdefghijkl", read(rotated(1)));
        assertEquals("mnop", read(log));
        String reported = complaints.toString();
        assertTrue(reported, reported.contains("cannot rotate the log file " + log));
        assertEquals(reported, reported.indexOf("cannot rotate"), reported.lastIndexOf("cannot rotate"));
    }
}

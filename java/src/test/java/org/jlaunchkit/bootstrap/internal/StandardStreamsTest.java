package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertSame;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Optional;

import org.junit.After;
import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class StandardStreamsTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private PrintStream originalOut;
    private PrintStream originalErr;

    @Before
    public void saveStreams() {
        originalOut = System.out;
        originalErr = System.err;
    }

    @After
    public void restoreStreams() {
        if (System.out != originalOut) {
            System.out.close();
        }
        if (System.err != originalErr && System.err != System.out) {
            System.err.close();
        }
        System.setOut(originalOut);
        System.setErr(originalErr);
    }

    private static String read(Path file) throws Exception {
        return new String(Files.readAllBytes(file), StandardCharsets.UTF_8);
    }

    @Test
    public void appendsToLogsInDirectoriesMadeOnDemand() throws Exception {
        Path err = temp.getRoot().toPath().resolve("logs/deeper/err.log");
        Path out = temp.getRoot().toPath().resolve("out.log");
        Files.write(out, "earlier\n".getBytes(StandardCharsets.UTF_8));
        StandardStreams.redirect(err.toString(), out.toString(), Optional.empty());
        System.err.print("to err");
        System.out.print("to out");
        assertEquals("to err", read(err));
        assertEquals("earlier\nto out", read(out));
    }

    @Test
    public void oneFileForBothStreamsIsOneStream() throws Exception {
        Path dir = temp.newFolder("logs").toPath();
        String log = dir.resolve("both.log").toString();
        String sameLog = dir.resolve("../logs/./both.log").toString();
        StandardStreams.redirect(log, sameLog, Optional.empty());
        assertSame(System.err, System.out);
        System.out.print("1");
        System.err.print("2");
        System.out.print("3");
        assertEquals("123", read(dir.resolve("both.log")));
    }

    @Test
    public void withALimitOneRotatingStreamServesBoth() throws Exception {
        Path dir = temp.newFolder("logs").toPath();
        Files.write(dir.resolve("both.log"), "earlier\n".getBytes(StandardCharsets.UTF_8));
        ByteArrayOutputStream complaints = new ByteArrayOutputStream();
        System.setErr(new PrintStream(complaints, true, "UTF-8"));
        String log = dir.resolve("both.log").toString();
        StandardStreams.redirect(log, log, Optional.of(new LogLimit(8, 2)));
        assertSame(System.err, System.out);
        System.out.print("1234");
        System.err.print("5678");
        System.out.print("9");
        assertEquals("earlier\n", read(dir.resolve("both.log.2")));
        assertEquals("12345678", read(dir.resolve("both.log.1")));
        assertEquals("9", read(dir.resolve("both.log")));
        assertEquals("", complaints.toString("UTF-8"));
    }
}

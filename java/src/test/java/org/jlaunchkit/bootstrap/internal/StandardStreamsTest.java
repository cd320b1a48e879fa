package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertSame;

import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;

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
        StandardStreams.redirect(err.toString(), out.toString());
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
        StandardStreams.redirect(log, sameLog);
        assertSame(System.err, System.out);
        System.out.print("1");
        System.err.print("2");
        System.out.print("3");
        assertEquals("123", read(dir.resolve("both.log")));
    }
}

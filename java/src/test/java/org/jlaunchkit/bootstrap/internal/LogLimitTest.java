package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.util.Optional;
import java.util.Properties;

import org.junit.Test;

public class LogLimitTest {
    private final ByteArrayOutputStream complaints = new ByteArrayOutputStream();

    private Optional<LogLimit> read(String maxSize, String keep) {
        complaints.reset();
        Properties properties = new Properties();
        if (maxSize != null) {
            properties.setProperty(LogLimit.MAX_SIZE_PROPERTY, maxSize);
        }
        if (keep != null) {
            properties.setProperty(LogLimit.KEEP_PROPERTY, keep);
        }
        return LogLimit.fromProperties(properties, new PrintStream(complaints, true));
    }

    @Test
    public void readsTheSizeAndTheCountOrItsDefaultAndNothingWithoutASize() {
        assertEquals(10485760L, read("10485760", "1000").get().maxSize);
        assertEquals(1000, read("10485760", "1000").get().keep);
        assertEquals(LogLimit.DEFAULT_KEEP, read("1", null).get().keep);
        assertFalse(read(null, "3").isPresent());
        assertEquals("", complaints.toString());
    }

    @Test
    public void malformedValuesAreReported() {
        for (String size : new String[] {"0", "-1", "10 MB", "99999999999999999999"}) {
            assertFalse(size, read(size, "3").isPresent());
            assertTrue(size, complaints.toString().contains(LogLimit.MAX_SIZE_PROPERTY + "=" + size));
        }
        for (String keep : new String[] {"0", "1001", "five"}) {
            assertEquals(keep, LogLimit.DEFAULT_KEEP, read("100", keep).get().keep);
            assertTrue(keep, complaints.toString().contains(LogLimit.KEEP_PROPERTY + "=" + keep));
        }
    }
}

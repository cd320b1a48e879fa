package org.jlaunchkit.bootstrap.internal;

import java.io.PrintStream;
import java.util.Optional;
import java.util.Properties;

/**
 * The size at which the log files are rotated and how many rotated files are
 * kept. The generator passes both among the JVM options as system properties
 * ({@value #MAX_SIZE_PROPERTY} in bytes, {@value #KEEP_PROPERTY}); without a
 * size the logs grow as they always did.
 */
final class LogLimit {
    static final String MAX_SIZE_PROPERTY = "jlaunchkit.log.maxSize";
    static final String KEEP_PROPERTY = "jlaunchkit.log.keep";
    static final int DEFAULT_KEEP = 5;
    static final int MOST_KEPT = 1000;

    final long maxSize;
    final int keep;

    LogLimit(long maxSize, int keep) {
        this.maxSize = maxSize;
        this.keep = keep;
    }

    /** The limit the system properties set; see {@link #fromProperties}. */
    static Optional<LogLimit> fromSystemProperties() {
        return fromProperties(System.getProperties(), System.err);
    }

    /**
     * The limit in {@code properties}. A size that is not a positive number
     * of bytes is reported on {@code complaints} and leaves the logs without a
     * limit; a malformed count of kept files is reported and the default used.
     */
    static Optional<LogLimit> fromProperties(Properties properties, PrintStream complaints) {
        String sizeText = properties.getProperty(MAX_SIZE_PROPERTY);
        if (sizeText == null) {
            return Optional.empty();
        }
        long maxSize = parse(sizeText, 1, Long.MAX_VALUE);
        if (maxSize < 0) {
            complaints.println("launcher bootstrap: " + MAX_SIZE_PROPERTY + "=" + sizeText
                    + " is not a positive number of bytes; the logs are not rotated");
            return Optional.empty();
        }
        String keepText = properties.getProperty(KEEP_PROPERTY);
        long keep = keepText == null ? DEFAULT_KEEP : parse(keepText, 1, MOST_KEPT);
        if (keep < 0) {
            complaints.println("launcher bootstrap: " + KEEP_PROPERTY + "=" + keepText + " is not a number from 1 to "
                    + MOST_KEPT + "; " + DEFAULT_KEEP + " rotated logs are kept");
            keep = DEFAULT_KEEP;
        }
        return Optional.of(new LogLimit(maxSize, (int) keep));
    }

    /** The number, or -1 when the text is none or it lies outside {@code [least, most]}. */
    private static long parse(String text, long least, long most) {
        try {
            long value = Long.parseLong(text.trim());
            return value >= least && value <= most ? value : -1;
        } catch (NumberFormatException e) {
            return -1;
        }
    }
}

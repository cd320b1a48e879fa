package org.jlaunchkit.bootstrap.internal;

/** Throws any throwable, checked or not, without wrapping it. */
final class Sneaky {
    private Sneaky() {
    }

    /** Never returns; declared to return so callers can write {@code throw Sneaky.rethrow(t)}. */
    static RuntimeException rethrow(Throwable t) {
        throw Sneaky.<RuntimeException>as(t);
    }

    @SuppressWarnings("unchecked")
    private static <T extends Throwable> T as(Throwable t) throws T {
        throw (T) t;
    }
}

package org.jlaunchkit.bootstrap;

/**
 * A step of the application's first run, registered through
 * {@link java.util.ServiceLoader} (a {@code META-INF/services} entry named after
 * this interface). Handlers run in the order the service loader yields them,
 * before the application's main class is loaded.
 */
public interface FirstRunHandler {
    /**
     * @return true to go on; false ends the launch without starting the
     *         application (the remaining handlers do not run)
     */
    boolean onFirstRun();
}

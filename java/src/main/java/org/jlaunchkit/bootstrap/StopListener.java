package org.jlaunchkit.bootstrap;

/**
 * Told when the service manager asks the service to stop or the system shuts
 * down. Called on the library's stop thread; the process exits once every
 * listener has returned, unless {@link Launcher#setExitAfterStop(boolean)}
 * turned that off.
 */
public interface StopListener {
    /** @param code the shutdown code the service launcher sent (0 for stop and shutdown) */
    void stopRequested(int code);
}

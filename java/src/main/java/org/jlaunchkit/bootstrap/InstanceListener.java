package org.jlaunchkit.bootstrap;

import java.util.List;

/**
 * Receives the arguments of a second start of the same launcher, which hands
 * them over and exits instead of starting the application again. Called on the
 * library's watcher thread, once per second start, in the order of the starts.
 */
public interface InstanceListener {
    /** @param arguments the second start's arguments after its program word; may be empty */
    void newInstance(List<String> arguments);
}

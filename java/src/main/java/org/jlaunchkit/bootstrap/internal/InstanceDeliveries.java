package org.jlaunchkit.bootstrap.internal;

import java.util.ArrayList;
import java.util.List;
import java.util.Objects;

import org.jlaunchkit.bootstrap.InstanceListener;

/**
 * The listeners of second starts, and the second starts that came before the
 * first listener: an application registers its listener somewhere in its
 * start-up, while the launcher may already have handed a file over. Those
 * arguments wait here and go to the first listener when it registers. One
 * lock keeps every listener's deliveries in arrival order.
 */
public final class InstanceDeliveries {
    private final List<InstanceListener> listeners = new ArrayList<>();
    private final List<List<String>> waiting = new ArrayList<>();

    public synchronized void addListener(InstanceListener listener) {
        listeners.add(Objects.requireNonNull(listener, "listener"));
        if (listeners.size() == 1) {
            for (List<String> arguments : waiting) {
                call(listener, arguments);
            }
            waiting.clear();
        }
    }

    synchronized void deliver(List<String> arguments) {
        if (listeners.isEmpty()) {
            waiting.add(arguments);
            return;
        }
        for (InstanceListener listener : listeners) {
            call(listener, arguments);
        }
    }

    private static void call(InstanceListener listener, List<String> arguments) {
        Listeners.callSafely("instance listener", () -> listener.newInstance(arguments));
    }
}

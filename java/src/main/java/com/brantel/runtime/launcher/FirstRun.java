package com.brantel.runtime.launcher;

import org.jlaunchkit.bootstrap.internal.Bootstrap;

/**
 * Called by the brantel-flavour launcher before {@code main} while the
 * application's first-run marker file exists. Returning false ends the launch
 * without calling {@code main}; an exception counts as a failed launch.
 */
public final class FirstRun {
    private FirstRun() {
    }

    public static boolean firstRun() {
        return Bootstrap.firstRun();
    }
}

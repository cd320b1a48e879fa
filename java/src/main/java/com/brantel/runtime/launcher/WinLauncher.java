package com.brantel.runtime.launcher;

import org.jlaunchkit.bootstrap.internal.Bootstrap;

/** The class the launcher calls in the brantel flavour; see {@link Bootstrap#run}. */
public final class WinLauncher {
    private WinLauncher() {
    }

    public static void main(String[] args) {
        Bootstrap.run(args);
    }
}

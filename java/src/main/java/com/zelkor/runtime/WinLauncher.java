package com.zelkor.runtime;

import org.jlaunchkit.bootstrap.internal.Bootstrap;

/** The class the launcher calls in the zelkor flavour; see {@link Bootstrap#run}. */
public final class WinLauncher {
    private WinLauncher() {
    }

    public static void main(String[] args) {
        Bootstrap.run(args);
    }
}

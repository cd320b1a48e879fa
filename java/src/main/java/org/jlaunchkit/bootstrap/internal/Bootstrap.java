package org.jlaunchkit.bootstrap.internal;

import java.util.ServiceLoader;

import org.jlaunchkit.bootstrap.FirstRunHandler;
import org.jlaunchkit.bootstrap.LaunchFacts;

/**
 * What the launcher's bootstrap classes do. Not part of the API: applications
 * use {@link org.jlaunchkit.bootstrap.Launcher}.
 */
public final class Bootstrap {
    private static volatile LaunchFacts facts;

    private Bootstrap() {
    }

    /**
     * Reads the launcher's arguments, redirects the standard streams to the
     * configured logs, starts the single-instance watcher when the launcher
     * asks for it and the stop watcher in a service child, and calls the
     * application's {@code main}. Whatever that main throws leaves this
     * method unchanged, so the launcher reports the application's own
     * exception.
     */
    public static void run(String[] args) {
        LaunchFacts launch;
        try {
            launch = LaunchFacts.fromArguments(args);
        } catch (IllegalArgumentException e) {
            System.err.println("launcher bootstrap: " + e.getMessage());
            throw e;
        }
        StandardStreams.redirect(launch.errorLog().orElse(""), launch.outputLog().orElse(""),
                LogLimit.fromSystemProperties());
        facts = launch;
        InstanceWatcher.startIfConfigured();
        StopWatcher.startIfService();
        MainInvoker.invoke(launch.mainClass(), launch.userArguments().toArray(new String[0]), applicationLoader());
    }

    /** The facts of the running launch, or null before {@link #run} read them. */
    public static LaunchFacts facts() {
        return facts;
    }

    /** Runs the application's first-run handlers; false stops the launch. */
    public static boolean firstRun() {
        return runFirstRunHandlers(ServiceLoader.load(FirstRunHandler.class, applicationLoader()));
    }

    static boolean runFirstRunHandlers(Iterable<? extends FirstRunHandler> handlers) {
        for (FirstRunHandler handler : handlers) {
            if (!handler.onFirstRun()) {
                return false;
            }
        }
        return true;
    }

    static ClassLoader applicationLoader() {
        ClassLoader context = Thread.currentThread().getContextClassLoader();
        return context != null ? context : ClassLoader.getSystemClassLoader();
    }
}

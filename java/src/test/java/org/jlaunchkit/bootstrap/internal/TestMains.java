package org.jlaunchkit.bootstrap.internal;

import java.io.IOException;

import org.jlaunchkit.bootstrap.FirstRunHandler;

/** Application classes for the bootstrap's tests. */
public final class TestMains {
    static volatile String[] received;
    static volatile Throwable toThrow;
    static volatile boolean firstRunAnswer = true;
    static volatile int firstRunCalls;
    static volatile boolean stopWatcherSeen;

    private TestMains() {
    }

    public static class Recording {
        public static void main(String[] args) {
            received = args;
        }
    }

    /** Notes whether the bootstrap's stop watcher runs when main is called. */
    public static class StopWatcherProbe {
        public static void main(String[] args) {
            stopWatcherSeen = stopWatcherThread() != null;
        }
    }

    static Thread stopWatcherThread() {
        for (Thread thread : Thread.getAllStackTraces().keySet()) {
            if (thread.getName().equals("launcher-stop-watcher") && thread.isAlive()) {
                return thread;
            }
        }
        return null;
    }

    static class NotPublic {
        public static void main(String[] args) {
            received = args;
        }
    }

    public static class Throwing {
        public static void main(String[] args) throws Throwable {
            throw toThrow;
        }
    }

    public static class WithoutMain {
        public static void main(String arg) {
        }
    }

    public static class InstanceMain {
        public void main(String[] args) {
        }
    }

    /** Registered in META-INF/services of the tests. */
    public static class FirstRunStep implements FirstRunHandler {
        @Override
        public boolean onFirstRun() {
            firstRunCalls++;
            return firstRunAnswer;
        }
    }

    static IOException checkedFailure() {
        return new IOException("the application's own failure");
    }
}

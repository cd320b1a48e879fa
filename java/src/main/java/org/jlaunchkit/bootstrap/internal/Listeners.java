package org.jlaunchkit.bootstrap.internal;

/** Calls into application code from the library's own threads. */
final class Listeners {
    private Listeners() {
    }

    /**
     * Runs one listener call; what it throws is printed and goes no further,
     * so one failing listener neither silences the others nor stops the
     * thread that serves them.
     */
    static void callSafely(String what, Runnable call) {
        try {
            call.run();
        } catch (VirtualMachineError e) {
            throw e;
        } catch (Throwable t) {
            System.err.println("launcher bootstrap: " + what + " failed:");
            t.printStackTrace();
        }
    }
}

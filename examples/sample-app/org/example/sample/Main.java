package org.example.sample;

import org.jlaunchkit.bootstrap.Launcher;

// The sample application of the demo: says where it runs and what it was given.
public final class Main {
    private Main() {
    }

    public static void main(String[] args) {
        System.out.println("Hello from " + System.getProperty("java.vm.name") + " "
                + System.getProperty("java.version") + " on " + System.getProperty("os.name"));
        System.out.println("started by " + Launcher.moduleName().orElse("(no launcher)"));
        System.out.println("extracted files in " + Launcher.tempDir().map(Object::toString).orElse("(none)"));
        for (int i = 0; i < args.length; i++) {
            System.out.println("argument " + i + ": " + args[i]);
        }
    }
}

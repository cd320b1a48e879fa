package org.example.mavenapp;

import org.jlaunchkit.bootstrap.Launcher;

/**
 * Says how it was started: which launcher, of which kind, with which
 * arguments, on which Java. Started without a launcher it says so.
 */
public final class Main {
    private Main() {
    }

    public static void main(String[] args) {
        System.out.println("maven-app started by " + Launcher.moduleName().orElse("no launcher"));
        System.out.println("launcher kind: "
                + Launcher.launchFacts().map(facts -> facts.guiLauncher() ? "GUI" : "service").orElse("none"));
        System.out.println("arguments: " + String.join(" | ", args));
        System.out.println("java.version=" + System.getProperty("java.version"));
    }
}

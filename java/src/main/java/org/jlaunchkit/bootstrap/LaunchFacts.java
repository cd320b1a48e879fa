package org.jlaunchkit.bootstrap;

import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.Optional;

/**
 * What the launcher says about this launch in the leading arguments of the
 * bootstrap's {@code main}:
 * <ol start="0">
 * <li>"true" for the GUI launcher, "false" for the service launcher;</li>
 * <li>the application's main class;</li>
 * <li>the error log path, or "" for none;</li>
 * <li>the output log path, or "" for none;</li>
 * <li>a further "true"/"false" option of the launcher ({@link #extraFlag()});</li>
 * <li>the program word (the program as typed in the GUI launcher, the service
 * name in the service launcher), absent when the launcher had none;</li>
 * <li>and from here on the application's own arguments.</li>
 * </ol>
 */
public final class LaunchFacts {
    /** The arguments before the program word, which the launcher always passes. */
    public static final int REQUIRED_ARGUMENTS = 5;
    private static final int PROGRAM_WORD = 5;
    private static final int FIRST_USER_ARGUMENT = 6;

    private final boolean guiLauncher;
    private final String mainClass;
    private final String errorLog;
    private final String outputLog;
    private final boolean extraFlag;
    private final String programWord;
    private final List<String> userArguments;

    private LaunchFacts(String[] args) {
        guiLauncher = "true".equals(args[0]);
        mainClass = args[1];
        errorLog = args[2];
        outputLog = args[3];
        extraFlag = "true".equals(args[4]);
        programWord = args.length > PROGRAM_WORD ? args[PROGRAM_WORD] : null;
        userArguments = args.length > FIRST_USER_ARGUMENT
                ? Collections.unmodifiableList(Arrays.asList(
                        Arrays.copyOfRange(args, FIRST_USER_ARGUMENT, args.length)))
                : Collections.<String>emptyList();
    }

    /**
     * Reads the launcher's argument layout.
     *
     * @throws IllegalArgumentException when fewer than {@value #REQUIRED_ARGUMENTS}
     *         arguments are given, one of them is null, or the main class is empty
     */
    public static LaunchFacts fromArguments(String... args) {
        if (args == null || args.length < REQUIRED_ARGUMENTS) {
            throw new IllegalArgumentException("the launcher passed " + (args == null ? 0 : args.length)
                    + " arguments to the bootstrap class, at least " + REQUIRED_ARGUMENTS
                    + " are needed (launcher kind, main class, error log, output log, option)");
        }
        for (int i = 0; i < args.length; i++) {
            if (args[i] == null) {
                throw new IllegalArgumentException("bootstrap argument " + i + " is null");
            }
        }
        if (args[1].isEmpty()) {
            throw new IllegalArgumentException("the launcher passed no main class");
        }
        return new LaunchFacts(args);
    }

    /** True when the GUI launcher started the JVM, false for the service launcher. */
    public boolean guiLauncher() {
        return guiLauncher;
    }

    public String mainClass() {
        return mainClass;
    }

    /** The file that receives {@code System.err}, when the launcher names one. */
    public Optional<String> errorLog() {
        return nonEmpty(errorLog);
    }

    /** The file that receives {@code System.out}, when the launcher names one. */
    public Optional<String> outputLog() {
        return nonEmpty(outputLog);
    }

    /** The launcher's fifth bootstrap argument, passed on as it came. */
    public boolean extraFlag() {
        return extraFlag;
    }

    /** The program as typed (GUI launcher) or the service name (service launcher). */
    public Optional<String> programWord() {
        return Optional.ofNullable(programWord);
    }

    /** The arguments for the application's {@code main}, unmodifiable. */
    public List<String> userArguments() {
        return userArguments;
    }

    private static Optional<String> nonEmpty(String text) {
        return text.isEmpty() ? Optional.<String>empty() : Optional.of(text);
    }
}

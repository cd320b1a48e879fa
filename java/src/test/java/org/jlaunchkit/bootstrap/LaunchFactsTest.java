package org.jlaunchkit.bootstrap;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import java.util.Arrays;
import java.util.Collections;
import java.util.Optional;

import org.junit.Test;

public class LaunchFactsTest {
    @Test
    public void refusesLayoutsWithoutTheFiveLeadingArguments() {
        String[][] bad = {
            null,
            {},
            {"true", "org.example.Main", "", ""},
            {"true", "", "", "", "false"},
            {"true", "org.example.Main", null, "", "false"},
        };
        for (String[] args : bad) {
            try {
                LaunchFacts.fromArguments(args);
                fail("accepted " + Arrays.toString(args));
            } catch (IllegalArgumentException expected) {
                assertFalse(expected.getMessage().isEmpty());
            }
        }
    }

    @Test
    public void fiveArgumentsMeanNoProgramWordAndNoUserArguments() {
        LaunchFacts facts = LaunchFacts.fromArguments("false", "org.example.Main", "", "", "true");
        assertFalse(facts.guiLauncher());
        assertEquals("org.example.Main", facts.mainClass());
        assertEquals(Optional.empty(), facts.errorLog());
        assertEquals(Optional.empty(), facts.outputLog());
        assertTrue(facts.extraFlag());
        assertEquals(Optional.empty(), facts.programWord());
        assertEquals(Collections.emptyList(), facts.userArguments());
    }

    @Test
    public void theProgramWordIsNotAUserArgument() {
        LaunchFacts facts = LaunchFacts.fromArguments(
                "true", "org.example.Main", "C:\\logs\\err.log", "C:\\logs\\out.log", "false",
                "app", "", "two words", "-Jx");
        assertTrue(facts.guiLauncher());
        assertFalse(facts.extraFlag());
        assertEquals(Optional.of("C:\\logs\\err.log"), facts.errorLog());
        assertEquals(Optional.of("C:\\logs\\out.log"), facts.outputLog());
        assertEquals(Optional.of("app"), facts.programWord());
        assertEquals(Arrays.asList("", "two words", "-Jx"), facts.userArguments());
    }

    @Test
    public void anEmptyProgramWordIsStillAProgramWord() {
        LaunchFacts facts = LaunchFacts.fromArguments("true", "M", "", "", "false", "");
        assertEquals(Optional.of(""), facts.programWord());
        assertEquals(Collections.emptyList(), facts.userArguments());
    }
}

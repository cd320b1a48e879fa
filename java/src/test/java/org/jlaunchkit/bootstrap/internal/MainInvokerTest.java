package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertSame;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import org.junit.Test;

public class MainInvokerTest {
    private static final String PREFIX = TestMains.class.getName() + "$";
    private static final ClassLoader LOADER = MainInvokerTest.class.getClassLoader();

    @Test
    public void callsMainWithTheArguments() {
        String[] names = {"Recording", "NotPublic"};
        for (String name : names) {
            TestMains.received = null;
            String[] args = {"a", "b c", ""};
            MainInvoker.invoke(PREFIX + name, args, LOADER);
            assertArrayEquals(name, args, TestMains.received);
        }
    }

    @Test
    public void unusableMainClassesAreNamedInTheMessage() {
        String[][] cases = {
            {"org.example.Missing", "main class not found: org.example.Missing"},
            {PREFIX + "WithoutMain", PREFIX + "WithoutMain"},
            {PREFIX + "InstanceMain", PREFIX + "InstanceMain"},
        };
        for (String[] c : cases) {
            try {
                MainInvoker.invoke(c[0], new String[0], LOADER);
                fail("invoked " + c[0]);
            } catch (IllegalStateException e) {
                assertTrue(e.getMessage(), e.getMessage().contains(c[1]));
            }
        }
    }

    @Test
    public void whatTheApplicationThrowsPropagatesUnchanged() {
        Throwable[] failures = {
            TestMains.checkedFailure(),
            new IllegalArgumentException("unchecked"),
        };
        for (Throwable failure : failures) {
            TestMains.toThrow = failure;
            try {
                MainInvoker.invoke(PREFIX + "Throwing", new String[0], LOADER);
                fail("no exception for " + failure);
            } catch (Throwable thrown) {
                assertSame(failure, thrown);
            }
        }
    }
}

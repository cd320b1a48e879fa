package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;

import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.Collections;

import org.junit.Test;

public class CommFileTest {
    private static byte[] utf16le(String text) {
        return text.getBytes(StandardCharsets.UTF_16LE);
    }

    @Test
    public void decodesTheSecondStartsCommandLine() {
        Object[][] cases = {
            {"a \"b c\" \u00fc \ud83d\ude00\n", Arrays.asList("a", "b c", "\u00fc", "\ud83d\ude00")},
            {"x\r\n", Arrays.asList("x")},
            {"\n", Collections.emptyList()},
            {"no line feed", Arrays.asList("no", "line", "feed")},
            {"'C:\\My Files\\a.txt'\n", Arrays.asList("C:\\My Files\\a.txt")},
        };
        for (Object[] c : cases) {
            assertEquals("text " + c[0], c[1], CommFile.arguments(utf16le((String) c[0])));
        }
    }

    @Test
    public void completeOnlyWithTheClosingLineFeed() {
        Object[][] cases = {
            {new byte[0], false},
            {utf16le("\n"), true},
            {utf16le("a b\n"), true},
            {utf16le("a b"), false},
            // U+010A ends in the byte 0x0A but is no line feed.
            {utf16le("a\u010a"), false},
            {new byte[] {'a', 0, '\n'}, false},
            {new byte[] {0, '\n', 0}, false},
        };
        for (Object[] c : cases) {
            assertEquals(Arrays.toString((byte[]) c[0]), c[1], CommFile.isComplete((byte[]) c[0]));
        }
    }
}

package org.jlaunchkit.maven;

import static org.junit.Assert.assertEquals;

import java.util.Arrays;
import java.util.Collections;

import org.junit.Test;

public class TomlTextTest {
    @Test
    public void stringsEscapeWhatATomlReaderWouldMisread() {
        String[][] cases = {
            {"", "\"\""},
            {"plain text", "\"plain text\""},
            {"say \"hi\"", "\"say \\\"hi\\\"\""},
            {"C:\\Program Files\\App", "\"C:\\\\Program Files\\\\App\""},
            {"\\\\server\\share\\", "\"\\\\\\\\server\\\\share\\\\\""},
            {"tab\there", "\"tab\\there\""},
            {"two\r\nlines", "\"two\\r\\nlines\""},
            {"\b\f", "\"\\b\\f\""},
            {"bell\u0007 nul\u0000 esc\u001b del\u007f", "\"bell\\u0007 nul\\u0000 esc\\u001B del\\u007F\""},
            {"'single' quotes and # hash", "\"'single' quotes and # hash\""},
            {"caf\u00e9 \u65e5\u672c \ud83d\ude00", "\"caf\u00e9 \u65e5\u672c \ud83d\ude00\""},
            {"%ZELKOR_EXEDIR%\\lib ${JAVA_HOME}", "\"%ZELKOR_EXEDIR%\\\\lib ${JAVA_HOME}\""},
        };
        for (String[] c : cases) {
            assertEquals(c[0], c[1], TomlText.string(c[0]));
        }
    }

    @Test
    public void arraysListTheirStringsInOrder() {
        assertEquals("[]", TomlText.stringArray(Collections.<String>emptyList()));
        assertEquals("[\"-Xmx128m\"]", TomlText.stringArray(Collections.singletonList("-Xmx128m")));
        assertEquals("[\"-Da=\\\"b c\\\"\", \"-Dpath=C:\\\\x\", \"\"]",
                TomlText.stringArray(Arrays.asList("-Da=\"b c\"", "-Dpath=C:\\x", "")));
    }
}

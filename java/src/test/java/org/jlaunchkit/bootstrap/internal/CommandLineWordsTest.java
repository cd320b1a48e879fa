package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;

import java.util.Arrays;

import org.junit.Test;

public class CommandLineWordsTest {
    private static final Object[][] CASES = {
        {"", words()},
        {"  a  b ", words("a", "b")},
        {"a\tb", words("a\tb")},
        {"a 'b c' d", words("a", "b c", "d")},
        {"a \"b c\" d", words("a", "b c", "d")},
        {"x'y z'w v", words("xy z", "w", "v")},
        {"-Da='p q'", words("-Da=p q")},
        {"a \"\" ''", words("a", "", "")},
        {"'a'b", words("a", "b")},
        {"a'b'c d", words("ab", "c", "d")},
        {"\"it's\" 'say \"hi\"'", words("it's", "say \"hi\"")},
        {"x\"a'b\"'c\"d' e", words("xa'b", "c\"d", "e")},
        {"a 'b c", words("a", "b c")},
        {"C:\\dir\\ \"x\"", words("C:\\dir\\", "x")},
        {"\\\"a b\\\" c", words("\\a b\\", "c")},
        {"'C:\\Program Files\\App\\app.exe' -J-Xmx1g 'two words' last",
            words("C:\\Program Files\\App\\app.exe", "-J-Xmx1g", "two words", "last")},
        {"\u00e4 \ud83d\ude00 '\u00fc \u00df'", words("\u00e4", "\ud83d\ude00", "\u00fc \u00df")},
    };

    private static Object words(String... words) {
        return Arrays.asList(words);
    }

    @Test
    public void splitsLikeTheLauncher() {
        for (Object[] c : CASES) {
            assertEquals("[" + c[0] + "]", c[1], CommandLineWords.split((String) c[0]));
        }
    }
}

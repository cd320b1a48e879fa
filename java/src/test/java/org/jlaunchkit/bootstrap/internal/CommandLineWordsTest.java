package org.jlaunchkit.bootstrap.internal;

import static org.junit.Assert.assertEquals;

import java.util.Arrays;
import java.util.Collection;
import java.util.List;

import org.junit.Test;
import org.junit.runner.RunWith;
import org.junit.runners.Parameterized;
import org.junit.runners.Parameterized.Parameters;

@RunWith(Parameterized.class)
public class CommandLineWordsTest {
    @Parameters(name = "{index}: [{0}]")
    public static Collection<Object[]> cases() {
        return Arrays.asList(new Object[][] {
            {"", words()},
            {"   ", words()},
            {"a", words("a")},
            {"a  b ", words("a", "b")},
            {"  a", words("a")},
            {"a\tb", words("a\tb")},
            {"a 'b c' d", words("a", "b c", "d")},
            {"a \"b c\" d", words("a", "b c", "d")},
            {"x'y z'w v", words("xy z", "w", "v")},
            {"-Da='p q'", words("-Da=p q")},
            {"-Da=\"p q\"", words("-Da=p q")},
            {"''", words("")},
            {"a \"\" b", words("a", "", "b")},
            {"'a'b", words("a", "b")},
            {"a'b'c d", words("ab", "c", "d")},
            {"\"it's\" 'say \"hi\"'", words("it's", "say \"hi\"")},
            {"x\"a'b\"'c\"d' e", words("xa'b", "c\"d", "e")},
            {"a 'b c", words("a", "b c")},
            {"\"open", words("open")},
            {"C:\\dir\\ \"x\"", words("C:\\dir\\", "x")},
            {"\\\"a b\\\" c", words("\\a b\\", "c")},
            {"'C:\\Program Files\\App\\app.exe' -J-Xmx1g 'two words' last",
                words("C:\\Program Files\\App\\app.exe", "-J-Xmx1g", "two words", "last")},
            {"\u00e4 \ud83d\ude00 '\u00fc \u00df'", words("\u00e4", "\ud83d\ude00", "\u00fc \u00df")},
        });
    }

    private final String text;
    private final List<String> expected;

    public CommandLineWordsTest(String text, List<String> expected) {
        this.text = text;
        this.expected = expected;
    }

    private static List<String> words(String... words) {
        return Arrays.asList(words);
    }

    @Test
    public void splitsLikeTheLauncher() {
        assertEquals(expected, CommandLineWords.split(text));
    }
}

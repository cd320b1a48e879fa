package org.jlaunchkit.bootstrap.internal;

import java.util.ArrayList;
import java.util.List;

/**
 * Splits text into words by the launcher's own command-line rules, so that the
 * Java side reads a handed-over command line exactly as the launcher would:
 * only the space separates words (a tab is an ordinary character); double or
 * single quotes group, the other kind being literal inside; backslashes are
 * always literal. Text directly after a closing quote starts a new word, and
 * an unterminated quote runs to the end of the text.
 */
final class CommandLineWords {
    private CommandLineWords() {
    }

    static List<String> split(String text) {
        List<String> words = new ArrayList<>();
        int length = text.length();
        int p = 0;
        while (p < length) {
            if (text.charAt(p) == ' ') {
                p++;
                continue;
            }
            int space = text.indexOf(' ', p);
            int doubleQuote = text.indexOf('"', p);
            int singleQuote = text.indexOf('\'', p);
            if (space >= 0 && before(space, doubleQuote) && before(space, singleQuote)) {
                words.add(text.substring(p, space));
                p = space + 1;
            } else if (doubleQuote >= 0 && before(doubleQuote, singleQuote)) {
                p = takeQuotedWord(text, p, doubleQuote, words);
            } else if (singleQuote >= 0) {
                p = takeQuotedWord(text, p, singleQuote, words);
            } else {
                words.add(text.substring(p));
                p = length;
            }
        }
        return words;
    }

    /** True when position a comes before b, a position of -1 meaning "not found". */
    private static boolean before(int a, int b) {
        return b < 0 || a < b;
    }

    /**
     * The word is what stands before the opening quote followed by the quoted
     * text; scanning goes on right after the closing quote.
     */
    private static int takeQuotedWord(String text, int start, int openingQuote, List<String> words) {
        char quote = text.charAt(openingQuote);
        int closingQuote = text.indexOf(quote, openingQuote + 1);
        int end = closingQuote >= 0 ? closingQuote : text.length();
        words.add(text.substring(start, openingQuote) + text.substring(openingQuote + 1, end));
        // A space after the closing quote is stepped over by the caller's loop.
        return closingQuote < 0 ? text.length() : closingQuote + 1;
    }
}

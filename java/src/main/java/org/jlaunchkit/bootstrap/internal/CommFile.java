package org.jlaunchkit.bootstrap.internal;

import java.nio.charset.StandardCharsets;
import java.util.List;

/**
 * The content of the file through which a second start hands over its
 * arguments: UTF-16LE without byte-order mark, the command line after the
 * program word exactly as typed, then one line feed.
 */
final class CommFile {
    private CommFile() {
    }

    /** The second start writes the whole file at once; until its line feed is there, it is still writing. */
    static boolean isComplete(byte[] content) {
        int n = content.length;
        return n >= 2 && n % 2 == 0 && content[n - 2] == '\n' && content[n - 1] == 0;
    }

    static List<String> arguments(byte[] content) {
        String text = new String(content, StandardCharsets.UTF_16LE);
        if (text.endsWith("\n")) {
            text = text.substring(0, text.length() - 1);
            if (text.endsWith("\r")) {
                text = text.substring(0, text.length() - 1);
            }
        }
        return CommandLineWords.split(text);
    }
}

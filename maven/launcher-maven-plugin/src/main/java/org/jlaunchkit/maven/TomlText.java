package org.jlaunchkit.maven;

import java.util.List;

/**
 * TOML values as text: basic strings with every character a TOML reader
 * would misread escaped, and one-line arrays of them.
 */
final class TomlText {
    private TomlText() {
    }

    /** {@code text} as a TOML basic string, quotes included. */
    static String string(String text) {
        StringBuilder quoted = new StringBuilder(text.length() + 2).append('"');
        for (int i = 0; i < text.length(); i++) {
            char c = text.charAt(i);
            switch (c) {
                case '"': quoted.append("\\\""); break;
                case '\\': quoted.append("\\\\"); break;
                case '\b': quoted.append("\\b"); break;
                case '\t': quoted.append("\\t"); break;
                case '\n': quoted.append("\\n"); break;
                case '\f': quoted.append("\\f"); break;
                case '\r': quoted.append("\\r"); break;
                default:
                    // Other control characters may not appear raw in a basic string.
                    if (c < 0x20 || c == 0x7f) {
                        quoted.append(String.format("\\u%04X", (int) c));
                    } else {
                        quoted.append(c);
                    }
            }
        }
        return quoted.append('"').toString();
    }

    /** A one-line array of basic strings, e.g. {@code ["-Xmx128m", "-Da=b"]}. */
    static String stringArray(List<String> items) {
        StringBuilder array = new StringBuilder("[");
        for (String item : items) {
            array.append(array.length() > 1 ? ", " : "").append(string(item));
        }
        return array.append(']').toString();
    }
}

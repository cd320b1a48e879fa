// Test double of the bootstrap class, in the default package so that the
// lookup of "WinLauncher" finds it. It echoes what it received as plain ASCII,
// every string as its UTF-16 code units, so the native side can compare them
// exactly whatever the JVM's output encoding. Each line is "arg", the index
// and the text, or "prop", the name and the value, the text written as one
// backslash, "u" and four hex digits per code unit. The properties shown are
// java.class.path, sun.java.command and every one whose name starts "zelkor.".
// The echo goes to standard output or, when the property winlauncher.echoFile
// names a file, into that file as UTF-8: a JVM under Wine shares its standard
// streams with the runtime's own warnings and the caller's report.
//
// A first argument "throw" makes main end with an IllegalStateException after
// the echo; "exit" followed by a number ends the process with that status.
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.Map;
import java.util.TreeMap;

public class WinLauncher {
    public static void main(String[] args) throws IOException {
        StringBuilder out = new StringBuilder();
        for (int i = 0; i < args.length; i++) {
            out.append("arg ").append(i).append(' ').append(escape(args[i])).append('\n');
        }
        Map<String, String> shown = new TreeMap<>();
        for (String name : System.getProperties().stringPropertyNames()) {
            if (name.startsWith("zelkor.") || name.equals("java.class.path")
                    || name.equals("sun.java.command")) {
                shown.put(name, System.getProperty(name));
            }
        }
        for (Map.Entry<String, String> property : shown.entrySet()) {
            out.append("prop ").append(property.getKey()).append(' ')
               .append(escape(property.getValue())).append('\n');
        }
        String echoFile = System.getProperty("winlauncher.echoFile");
        if (echoFile == null) {
            System.out.print(out);
            System.out.flush();
        } else {
            Files.write(Paths.get(echoFile), out.toString().getBytes(StandardCharsets.UTF_8));
        }

        if (args.length > 0 && args[0].equals("throw")) {
            throw new IllegalStateException("thrown on request");
        }
        if (args.length > 1 && args[0].equals("exit")) {
            System.exit(Integer.parseInt(args[1]));
        }
    }

    private static String escape(String text) {
        StringBuilder escaped = new StringBuilder(text.length() * 6);
        for (int i = 0; i < text.length(); i++) {
            escaped.append(String.format("\\u%04x", (int) text.charAt(i)));
        }
        return escaped.toString();
    }

    // Has a static "main" taking String[], but with the wrong result type: the
    // lookup by full signature must not accept it.
    public static class WrongMain {
        public static int main(String[] args) {
            return args.length;
        }
    }
}

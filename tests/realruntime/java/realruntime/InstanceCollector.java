package realruntime;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardOpenOption;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;

import org.jlaunchkit.bootstrap.Launcher;

// A first instance in single-instance mode: collects the arguments of second
// starts through the bootstrap library, one line per start (the arguments
// joined by "|"), into the file named by the property collector.file, and
// ends once it has as many as its first argument says (or after two minutes).
// "<file>.ready" tells the test that the listener is registered.
public final class InstanceCollector {
    private InstanceCollector() {
    }

    public static void main(String[] args) throws IOException, InterruptedException {
        int expected = Integer.parseInt(args[0]);
        Path out = Paths.get(System.getProperty("collector.file"));
        CountDownLatch all = new CountDownLatch(expected);
        Launcher.addInstanceListener(arguments -> {
            try {
                Files.write(out, (String.join("|", arguments) + "\n").getBytes(StandardCharsets.UTF_8),
                        StandardOpenOption.CREATE, StandardOpenOption.APPEND);
            } catch (IOException e) {
                throw new IllegalStateException(e);
            }
            all.countDown();
        });
        Files.write(Paths.get(out + ".ready"), new byte[0]);
        all.await(2, TimeUnit.MINUTES);
    }
}

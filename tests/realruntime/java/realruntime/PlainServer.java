package realruntime;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardCopyOption;

// A server that knows nothing of the launcher's library: a non-daemon thread
// that runs forever, and a shutdown hook that writes "hook ran" into the file
// that the property plain.file names. With plain.blockHook=true the hook then
// blocks for good, as a server that never finishes closing would. The file
// "<file>.running" appears once main has set everything up.
public final class PlainServer {
    private PlainServer() {
    }

    public static void main(String[] args) throws IOException {
        Path out = Paths.get(System.getProperty("plain.file"));
        boolean blockHook = Boolean.getBoolean("plain.blockHook");
        Runtime.getRuntime().addShutdownHook(new Thread(() -> {
            try {
                Files.write(out, "hook ran".getBytes(StandardCharsets.UTF_8));
                if (blockHook) {
                    Thread.sleep(Long.MAX_VALUE);
                }
            } catch (IOException | InterruptedException e) {
                throw new IllegalStateException(e);
            }
        }));
        Thread worker = new Thread(() -> {
            try {
                Thread.sleep(Long.MAX_VALUE);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
        }, "plain-worker");
        worker.start();
        Path written = Files.write(Paths.get(out + ".writing"), new byte[0]);
        Files.move(written, Paths.get(out + ".running"), StandardCopyOption.ATOMIC_MOVE);
    }
}

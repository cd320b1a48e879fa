package realruntime;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardCopyOption;

import org.jlaunchkit.bootstrap.Launcher;

// A service's application: writes the launch's program word (the service
// name) into "<file>.running" (the property service.file names the file),
// then runs until the service is stopped; its stop hook writes
// "stopped <code> service=<isService>" into the file.
public final class ServiceApp {
    private ServiceApp() {
    }

    public static void main(String[] args) throws IOException, InterruptedException {
        Path out = Paths.get(System.getProperty("service.file"));
        Launcher.addStopListener(code -> {
            try {
                Files.write(out, ("stopped " + code + " service=" + Launcher.isService()).getBytes(StandardCharsets.UTF_8));
            } catch (IOException e) {
                throw new IllegalStateException(e);
            }
        });
        String programWord = Launcher.launchFacts().flatMap(facts -> facts.programWord()).orElse("");
        // Written aside and moved into place: the test reads it as soon as it exists.
        Path written = Files.write(Paths.get(out + ".writing"), programWord.getBytes(StandardCharsets.UTF_8));
        Files.move(written, Paths.get(out + ".running"), StandardCopyOption.ATOMIC_MOVE);
        Thread.sleep(Long.MAX_VALUE);
    }
}

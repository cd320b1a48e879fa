package org.jlaunchkit.bootstrap.internal;

import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;

/**
 * A log file that is rotated when it reaches its size limit: {@code app.log}
 * becomes {@code app.log.1}, {@code app.log.1} becomes {@code app.log.2} and
 * so on up to the number kept; the oldest is deleted. A file that is already
 * at the limit when the stream opens is rotated at once; after that, a write
 * that would take the file over the limit goes to a fresh file. The one
 * exception is a bare line end that finishes a line already in the file: it
 * stays with its line, so the file may pass the limit by those bytes.
 * <p>
 * A rotation that fails (a rotated file held open by another program, a
 * directory without write permission) loses nothing: the stream writes on to
 * the same file, tries again when the file has grown by another limit's worth,
 * and says so once on the complaints stream. Should the log not even open
 * again, the output goes to the complaints stream itself.
 * <p>
 * Not buffered: each write reaches the file before it returns.
 */
final class RotatingLogStream extends OutputStream {
    private final Path file;
    private final LogLimit limit;
    private final PrintStream complaints;
    private OutputStream current;
    private long size;
    /** The size beyond which the next rotation is tried; later than the limit after a failure. */
    private long rotationSize;
    private boolean endsLine = true;
    private boolean complained;

    private RotatingLogStream(Path file, LogLimit limit, PrintStream complaints) {
        this.file = file;
        this.limit = limit;
        this.complaints = complaints;
        this.rotationSize = limit.maxSize;
    }

    /** Opens {@code file} for appending, rotating it first when it is already full. */
    static RotatingLogStream open(Path file, LogLimit limit, PrintStream complaints) throws IOException {
        RotatingLogStream stream = new RotatingLogStream(file, limit, complaints);
        FileOutputStream first = new FileOutputStream(file.toFile(), true);
        stream.current = first;
        stream.size = first.getChannel().size();
        if (stream.size >= limit.maxSize) {
            stream.rotate();
        }
        return stream;
    }

    @Override
    public synchronized void write(int b) throws IOException {
        write(new byte[] {(byte) b}, 0, 1);
    }

    @Override
    public synchronized void write(byte[] bytes, int offset, int length) throws IOException {
        if (length == 0) {
            return;
        }
        if (size > 0 && size + length > rotationSize && !(finishesLine(bytes, offset, length) && !endsLine)) {
            rotate();
        }
        current.write(bytes, offset, length);
        size += length;
        endsLine = bytes[offset + length - 1] == '\n';
    }

    @Override
    public synchronized void flush() throws IOException {
        current.flush();
    }

    @Override
    public synchronized void close() throws IOException {
        if (current != complaints) {
            current.close();
        }
    }

    /** A line end and nothing else: "\n", "\r\n" or "\r". */
    private static boolean finishesLine(byte[] bytes, int offset, int length) {
        if (length > 2) {
            return false;
        }
        for (int i = offset; i < offset + length; i++) {
            if (bytes[i] != '\n' && bytes[i] != '\r') {
                return false;
            }
        }
        return true;
    }

    /** Closes the file, since an open file cannot be renamed everywhere, shifts the rotated files and reopens. */
    private void rotate() {
        try {
            current.close();
        } catch (IOException e) {
            // Every write has already reached the file.
        }
        try {
            shiftRotatedFiles();
            rotationSize = limit.maxSize;
        } catch (IOException | SecurityException e) {
            rotationSize = size + limit.maxSize;
            if (!complained) {
                complained = true;
                complaints.println("launcher bootstrap: cannot rotate the log file " + file
                        + ", writing on to it: " + e);
            }
        }
        try {
            FileOutputStream reopened = new FileOutputStream(file.toFile(), true);
            current = reopened;
            size = reopened.getChannel().size();
        } catch (IOException | SecurityException e) {
            complaints.println("launcher bootstrap: cannot open the log file " + file
                    + " again; its output follows here: " + e);
            current = complaints;
            rotationSize = Long.MAX_VALUE;
        }
    }

    private void shiftRotatedFiles() throws IOException {
        Files.deleteIfExists(rotated(limit.keep));
        for (int i = limit.keep - 1; i >= 1; i--) {
            Path older = rotated(i);
            if (Files.exists(older)) {
                Files.move(older, rotated(i + 1));
            }
        }
        Files.move(file, rotated(1));
    }

    private Path rotated(int number) {
        return Paths.get(file + "." + number);
    }
}

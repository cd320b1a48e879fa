// Run by the real Windows runtime's java.exe from a jar: the greeting shows
// that main got its argument, the properties that the runtime which ran it is
// the Windows x86-64 one of the tests and not the host's JVM.
public class Hello {
    public static void main(String[] args) {
        System.out.println("Hello, " + String.join(" ", args));
        for (String name : new String[] {"java.version", "os.name", "os.arch"}) {
            System.out.println(name + "=" + System.getProperty(name));
        }
    }
}

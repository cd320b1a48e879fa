package realjvm;

import org.jlaunchkit.bootstrap.FirstRunHandler;

// The first-run handler of the tests: answers as the property
// "firstrun.answer" says ("false", "throw", anything else true) and says on
// standard output that it ran.
public final class FirstRunAnswer implements FirstRunHandler {
    @Override
    public boolean onFirstRun() {
        String answer = System.getProperty("firstrun.answer", "true");
        System.out.println("firstRun " + answer);
        System.out.flush();
        if (answer.equals("throw")) {
            throw new IllegalStateException("first run failed");
        }
        return !answer.equals("false");
    }
}

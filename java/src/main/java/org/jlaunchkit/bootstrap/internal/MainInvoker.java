package org.jlaunchkit.bootstrap.internal;

import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;

/** Loads the application's main class and calls its {@code main}. */
final class MainInvoker {
    private MainInvoker() {
    }

    /**
     * @throws IllegalStateException when the class or a public static
     *         {@code main(String[])} cannot be found; anything the application's
     *         main or static initialiser throws propagates as it is
     */
    static void invoke(String className, String[] arguments, ClassLoader loader) {
        Method main = findMain(load(className, loader), className);
        try {
            main.invoke(null, (Object) arguments);
        } catch (InvocationTargetException e) {
            throw Sneaky.rethrow(e.getCause());
        } catch (IllegalAccessException e) {
            throw new IllegalStateException("cannot call main of " + className + ": " + e.getMessage(), e);
        }
    }

    private static Class<?> load(String className, ClassLoader loader) {
        try {
            return Class.forName(className, true, loader);
        } catch (ClassNotFoundException e) {
            throw new IllegalStateException("main class not found: " + className, e);
        }
    }

    private static Method findMain(Class<?> mainClass, String className) {
        Method main;
        try {
            main = mainClass.getMethod("main", String[].class);
        } catch (NoSuchMethodException e) {
            throw new IllegalStateException("main class " + className
                    + " has no method public static void main(String[])", e);
        }
        if (!Modifier.isStatic(main.getModifiers()) || main.getReturnType() != void.class) {
            throw new IllegalStateException("main(String[]) of main class " + className
                    + " must be static and return void");
        }
        // A public main in a class that is not public is still a valid entry point.
        main.setAccessible(true);
        return main;
    }
}

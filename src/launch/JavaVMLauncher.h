#pragma once

// Assembles the JVM options, creates the JVM, calls the bootstrap main method
// and, with `destroyJvm`, destroys the JVM when main returns.
bool launchProgram(bool destroyJvm);

#pragma once

// Work that must happen on the way out, owned by whoever created the thing to
// undo. The error routines run these lists without knowing what is in them,
// so the lowest layer never has to call upwards into the temporary directory
// or the splash screen.

using ExitAction = void (*)();

// Runs on every exit through exitLauncher, before the process ends.
void addExitAction(ExitAction action);
// Runs before every error message is shown (a splash screen must not cover it).
void addBeforeErrorAction(ExitAction action);

// Each list runs its actions in the order they were added; adding an action
// that is already listed changes nothing.
void runExitActions();
void runBeforeErrorActions();

// Empties both lists; for tests.
void clearExitActions();

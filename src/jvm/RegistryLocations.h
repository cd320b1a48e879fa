#pragma once

// Where in the registry the runtime search looks. The registry sources read
// these places, and the decisions about them (RegistryChoice.h) and the
// reading itself (win/RegistryReading.h) name them too; they live here so
// that neither has to include the sources, which use both.

enum class RegistryHive { CurrentUser, LocalMachine };

// The two JavaSoft key families: "SOFTWARE\JavaSoft\Java Development Kit" and
// "SOFTWARE\JavaSoft\Java Runtime Environment" under HKEY_LOCAL_MACHINE.
enum class JavaSoftFamily { DevelopmentKit, RuntimeEnvironment };

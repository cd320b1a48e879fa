# Compile and link options of everything that ends up in a launcher template.
# A template must stay small and start fast on a bare Windows: no exceptions
# or run-time type information (nothing in the launcher throws; allocation
# failure and the library's own error paths end in NoThrowRuntime.cpp), size
# over speed, unused sections dropped at link time.
#
# ProductPrelude.h comes first in every C++ file: the C runtime's own printf
# family, and no copies of the C++ library's error texts (whose empty
# replacements would each warn as an empty format).
#
# No interprocedural clones: with C++20 every file instantiates the string
# members it uses, and a specialised copy of each per file only adds size.
#
# Constructors and destructors in their two usual symbols, not one shared
# body: the shared body that -Os asks for is a local symbol, and a PE linker
# keeps one copy of it for every file that uses it (a dozen copies of the
# string's move constructor alone).
#
# -fno-threadsafe-statics: function-local statics get no guards (the guards
# would pull in the POSIX thread library). The rule this rests on:
#
#   No function-local static with a run-time initialiser or a destructor is
#   first used off the main thread.
#
# Two threads reaching such a static first would both construct it (and both
# register its destructor). Constant-initialised ones without a destructor
# (a bool, a pointer to a literal) need no guard and are exempt. Today:
#   - state() (core/LauncherState.cpp): made by the first setter of each entry
#     sequence, long before any thread;
#   - systemCalls() (core/win/SystemCalls.cpp) and the own path
#     (core/win/ExecutablePath.cpp): made while the configuration loads;
#     runServiceDispatcher (service/win/ServiceRuntime.cpp) uses the table and
#     the state once more before it lets the service threads start;
#   - launcherDirectory() (files/win/PathUtilities.cpp), the launch system
#     (launch/win/WindowsLaunchSystem.cpp), rebootCalls() (gui/win/Reboot.cpp):
#     used by the start-up sequence of the main thread only.
# The threads there are: the service main (a thread of the service control
# dispatcher: launcher state, system calls, log), the control handler (system
# calls, log), the child-output drain (CreateThread) and the console control
# handler (log only); all in service/win/ServiceRuntime.cpp. The log sinks are
# namespace-scope objects, made before main. A new function-local static, or a
# thread that reaches one, goes in this list with the reason it is safe; when
# it cannot be made on the main thread first, its file gets the guards back:
#   set_property(SOURCE file.cpp APPEND PROPERTY COMPILE_OPTIONS -fthreadsafe-statics)
set(LAUNCHER_PRODUCT_COMPILE_OPTIONS
  -Os -ffunction-sections -fdata-sections -fno-ipa-sra -fno-ipa-cp
  -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-declone-ctor-dtor
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>
  $<$<COMPILE_LANGUAGE:CXX>:-D__USE_MINGW_ANSI_STDIO=0 -include ${CMAKE_CURRENT_LIST_DIR}/ProductPrelude.h
                             -Wno-format-zero-length>)
set(LAUNCHER_PRODUCT_LINK_OPTIONS -Wl,--gc-sections -s)

function(launcher_product_target target)
  if(WIN32)
    target_compile_options(${target} PRIVATE ${LAUNCHER_PRODUCT_COMPILE_OPTIONS})
  endif()
endfunction()

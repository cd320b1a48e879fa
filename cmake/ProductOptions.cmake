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
# Function-local statics are first used on the main thread during start-up,
# before the service launcher starts its threads, so they need no guards (the
# guards would pull in the POSIX thread library).
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

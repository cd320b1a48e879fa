# Stand-in jvm.dll: a test double of a Java runtime's JVM library. It answers
# JNI_CreateJavaVM and the JNI calls the launcher makes, writes all of them to
# a transcript beside itself and behaves as a standin-jvm.cfg there asks
# (see standin_jvm/StandinJvmFormat.h and StandinJvmConfig.h). Never shipped.

add_library(standin_jvm SHARED
  standin_jvm/Invocation.cpp
  standin_jvm/JniFunctions.cpp
  standin_jvm/JniObjects.cpp
  standin_jvm/StaticCalls.cpp
  standin_jvm/ClassPath.cpp
  standin_jvm/MainSteps.cpp
  standin_jvm/Transcript.cpp
  standin_jvm/StandinJvmConfig.cpp
  standin_jvm/ZipDirectory.cpp)
set_target_properties(standin_jvm PROPERTIES
  OUTPUT_NAME jvm
  PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_include_directories(standin_jvm PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
# Loadable without the compiler's runtime DLLs; --kill-at exports the x86
# __stdcall entry as "JNI_CreateJavaVM" instead of "JNI_CreateJavaVM@12".
target_link_options(standin_jvm PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--kill-at)

# The export name and the imports, read from the file: the 32-bit DLL cannot
# be loaded on every machine, its table can always be checked.
add_test(NAME standin_jvm_exports_${LAUNCHER_BITS}
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DDLL=$<TARGET_FILE:standin_jvm>
          -P ${CMAKE_CURRENT_SOURCE_DIR}/StandinJvmExports.cmake)

# Loads the jvm.dll of its own bitness, drives it as the launcher does and
# reads the transcript back; the other bitness's DLL must refuse to load.
if(LAUNCHER_BITS EQUAL 64)
  set(standin_other_preset win32)
else()
  set(standin_other_preset win64)
endif()
set(STANDIN_OTHER_JVM_DLL ${PROJECT_SOURCE_DIR}/build/${standin_other_preset}/tests/standin/jvm.dll
    CACHE FILEPATH "The stand-in jvm.dll of the other bitness (checked only when it exists)")
add_executable(standin_jvm_load_test jvm_load_test.cpp ${PROJECT_SOURCE_DIR}/tests/support/JvmTranscript.cpp)
target_include_directories(standin_jvm_load_test PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(standin_jvm_load_test PRIVATE STANDIN_OTHER_JVM_DLL="${STANDIN_OTHER_JVM_DLL}")
add_dependencies(standin_jvm_load_test standin_jvm)
add_test(NAME standin_jvm_load_test_${LAUNCHER_BITS} COMMAND standin_jvm_load_test)
set_tests_properties(standin_jvm_load_test_${LAUNCHER_BITS} PROPERTIES SKIP_RETURN_CODE 77)

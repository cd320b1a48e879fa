# Stand-in java.exe, javaw.exe, splashscreen.dll and unpack200.exe: test
# doubles that scenario tests copy into runtime homes. Never shipped.

add_executable(standin_java standin_java.cpp)
set_target_properties(standin_java PROPERTIES OUTPUT_NAME java)

add_executable(standin_javaw standin_java.cpp)
set_target_properties(standin_javaw PROPERTIES OUTPUT_NAME javaw WIN32_EXECUTABLE ON)

add_executable(standin_unpack200 standin_unpack200.cpp)
set_target_properties(standin_unpack200 PROPERTIES OUTPUT_NAME unpack200)
target_link_libraries(standin_unpack200 PRIVATE shell32)

add_library(standin_splashscreen SHARED standin_splash.cpp)
set_target_properties(standin_splashscreen PROPERTIES OUTPUT_NAME splashscreen PREFIX "")
# A runtime's library must load without the compiler's runtime DLLs.
target_link_options(standin_splashscreen PRIVATE -static -static-libgcc -static-libstdc++)

# Loads the DLL beside itself, so it lives in the same directory.
add_executable(standin_splash_load_test splash_load_test.cpp)
add_dependencies(standin_splash_load_test standin_splashscreen)
add_test(NAME standin_splash_load_test_${LAUNCHER_BITS} COMMAND standin_splash_load_test)
set_tests_properties(standin_splash_load_test_${LAUNCHER_BITS} PROPERTIES SKIP_RETURN_CODE 77)

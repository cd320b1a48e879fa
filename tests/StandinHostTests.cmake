# Host checks of the stand-in jvm.dll's portable parts: the archive directory
# reader, the behaviour file, the transcript reader of the scenario tests, and
# its JNI tables against the host JDK's jni.h.
set(STANDIN_HOST_JDK /usr/lib/jvm/java-17-openjdk-amd64 CACHE PATH
    "JDK whose jni.h the stand-in's tables are compared with and whose jar tool makes a test archive")
add_executable(standin_host_tests
  standin/StandinJvmHostTest.cpp
  standin/standin_jvm/ZipDirectory.cpp
  standin/standin_jvm/StandinJvmConfig.cpp)
target_include_directories(standin_host_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR} ${STANDIN_HOST_JDK}/include ${STANDIN_HOST_JDK}/include/linux)
target_compile_definitions(standin_host_tests PRIVATE STANDIN_HOST_JAR="${STANDIN_HOST_JDK}/bin/jar")
target_link_libraries(standin_host_tests PRIVATE scenario_support GTest::gtest_main)
gtest_discover_tests(standin_host_tests)

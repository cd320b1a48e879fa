# Host-only tests: the payload tools, the finished templates and scenarios under Wine.

add_executable(tool_tests tools/PayloadWriterTest.cpp tools/LauncherConfigTest.cpp tools/ResourceWriterTest.cpp
  tools/TomlFieldsTest.cpp tools/DurationsTest.cpp tools/ByteSizeTest.cpp
  support/FakePeImage.cpp support/PeResources.cpp support/VersionResource.cpp)
target_include_directories(tool_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(tool_tests PRIVATE LAUNCHER_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  LAUNCHER_DIST_DIR="${LAUNCHER_DIST_DIR}")
target_link_libraries(tool_tests PRIVATE payload_writer launcher_generator GTest::gtest_main)
gtest_discover_tests(tool_tests)

# Where scripts/real-runtime.sh keeps the real Windows runtime (fetched by scripts/setup.sh).
set(real_runtime_script ${PROJECT_SOURCE_DIR}/scripts/real-runtime.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${real_runtime_script})
execute_process(COMMAND ${real_runtime_script} home OUTPUT_VARIABLE LAUNCHER_REAL_RUNTIME_HOME
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

add_library(scenario_support STATIC support/WineScenario.cpp support/HostCommand.cpp support/RuntimeLayout.cpp support/RuntimePlacement.cpp
  support/JvmTranscript.cpp support/VirtualDisplay.cpp)
target_include_directories(scenario_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(scenario_support PUBLIC test_support payload_writer GTest::gtest)
target_compile_definitions(scenario_support PRIVATE
  LAUNCHER_DIST_DIR="${LAUNCHER_DIST_DIR}"
  LAUNCHER_SCENARIO_ROOT="${CMAKE_BINARY_DIR}/scenarios"
  LAUNCHER_WINE_RUN="${PROJECT_SOURCE_DIR}/scripts/wine-run.sh"
  LAUNCHER_WINEPREFIX="${PROJECT_SOURCE_DIR}/build/wineprefix"
  LAUNCHER_BUILD_ROOT="${PROJECT_SOURCE_DIR}/build"
  LAUNCHER_REAL_RUNTIME_HOME="${LAUNCHER_REAL_RUNTIME_HOME}")

add_executable(scenario_tests
  scenario/StartupScenarioTest.cpp
  scenario/GuiSwitchScenarioTest.cpp
  scenario/ExtractionScenarioTest.cpp
  scenario/StandinRuntimeTest.cpp
  scenario/JvmDiscoveryScenarioTest.cpp
  scenario/LaunchScenarioTest.cpp
  scenario/SingleInstanceScenarioTest.cpp
  scenario/SplashScenarioTest.cpp
  scenario/ServiceCommandsScenarioTest.cpp
  scenario/TempDirectoryScenarioTest.cpp)
target_link_libraries(scenario_tests PRIVATE scenario_support GTest::gtest_main)
target_compile_definitions(scenario_tests PRIVATE LAUNCHER_SPLASH_IMAGE="${CMAKE_CURRENT_SOURCE_DIR}/splash/splash.png")
# Scenarios share one Wine prefix; they run after it exists and take their time.
gtest_discover_tests(scenario_tests PROPERTIES TIMEOUT 300)

# Real services in the prefix's service control manager, one at a time.
add_executable(service_scenario_tests scenario/ServiceScenarioTest.cpp)
target_link_libraries(service_scenario_tests PRIVATE scenario_support GTest::gtest_main)
gtest_discover_tests(service_scenario_tests PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)

# Runtimes registered in the prefix's registry the way today's packages do it:
# other scenarios' JavaSoft keys would be found too, so one at a time.
add_executable(vendor_registry_tests scenario/VendorRegistryScenarioTest.cpp)
target_link_libraries(vendor_registry_tests PRIVATE scenario_support GTest::gtest_main)
target_compile_definitions(vendor_registry_tests PRIVATE VENDOR_LAUNCHERGEN="$<TARGET_FILE:launchergen>")
add_dependencies(vendor_registry_tests launchergen)
gtest_discover_tests(vendor_registry_tests PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)

# Points the prefix's temporary path at a tiny tmpfs: must not overlap other scenarios.
add_executable(disk_full_tests scenario/DiskFullScenarioTest.cpp)
target_link_libraries(disk_full_tests PRIVATE scenario_support GTest::gtest_main)
target_compile_definitions(disk_full_tests PRIVATE LAUNCHER_WINE_RUN="${PROJECT_SOURCE_DIR}/scripts/wine-run.sh")
gtest_discover_tests(disk_full_tests PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)

# Real message boxes on a virtual display. Wine decides a session's display
# driver when its first window is made; these tests restart the prefix's
# wineserver with a display and again without one, so nothing may run beside them.
add_executable(dialog_tests scenario/DialogScenarioTest.cpp)
target_link_libraries(dialog_tests PRIVATE scenario_support GTest::gtest_main)
target_compile_definitions(dialog_tests PRIVATE LAUNCHER_WINE_PREFIX_SCRIPT="${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh")
gtest_discover_tests(dialog_tests PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)

# launchergen.exe of the win64 build under Wine against the Linux launchergen,
# both from dist/: the same launchers from the same inputs.
add_executable(windows_generator_tests scenario/WindowsGeneratorScenarioTest.cpp)
target_link_libraries(windows_generator_tests PRIVATE scenario_support GTest::gtest_main)
target_compile_definitions(windows_generator_tests PRIVATE LAUNCHER_DIST_DIR="${LAUNCHER_DIST_DIR}"
  LAUNCHER_SOURCE_DIR="${PROJECT_SOURCE_DIR}" LAUNCHER_SPLASH_IMAGE="${CMAKE_CURRENT_SOURCE_DIR}/splash/splash.png")
add_dependencies(windows_generator_tests launchergen_dist)
gtest_discover_tests(windows_generator_tests PROPERTIES TIMEOUT 300)

# The templates in dist/ come from the win64 and win32 builds, not from this
# one: after a host-only rebuild they may be older than the sources, and every
# test below that runs them would test the old code. This one says so and fails.
add_test(NAME dist_templates_current COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-dist-current.sh
                                             ${CMAKE_MAKE_PROGRAM} ${PROJECT_SOURCE_DIR}/build)

# Invariants of the finished templates in dist/, and the resource reader they use.
add_executable(template_tests
  templates/TemplateInvariantsTest.cpp
  templates/PeResourcesTest.cpp
  support/PeResources.cpp
  support/VersionResource.cpp
  support/FakePeImage.cpp)
target_include_directories(template_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(template_tests PRIVATE test_support launcher_core launcher_memory_log GTest::gtest_main)
target_compile_definitions(template_tests PRIVATE LAUNCHER_DIST_DIR="${LAUNCHER_DIST_DIR}"
  LAUNCHER_VERSION_FILE="${PROJECT_SOURCE_DIR}/VERSION")
# Also checks the Linux launchergen in dist/.
add_dependencies(template_tests launchergen_dist)
gtest_discover_tests(template_tests)
include(StandinHostTests.cmake)

# Java classes of the tests, compiled by the host JDK for class file version
# 52 (Java 8), so that every runtime the tests start can load them: the host's
# JVM and the Windows runtimes under Wine. Needs find_package(Java COMPONENTS
# Development) first.
#
#   launcher_java_classes(<target> SOURCES <file>... OUTPUT_DIRECTORY <dir> [JAR <file>])
#
# The target compiles the sources into the directory and, with JAR, packs
# the directory into that archive as well.
function(launcher_java_classes target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "OUTPUT_DIRECTORY;JAR" "SOURCES")
  set(classes)
  foreach(source IN LISTS arg_SOURCES)
    cmake_path(GET source STEM name)
    list(APPEND classes ${arg_OUTPUT_DIRECTORY}/${name}.class)
  endforeach()
  add_custom_command(
    OUTPUT ${classes}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${arg_OUTPUT_DIRECTORY}
    COMMAND ${Java_JAVAC_EXECUTABLE} --release 8 -Xlint:-options -encoding UTF-8 -d ${arg_OUTPUT_DIRECTORY}
            ${arg_SOURCES}
    DEPENDS ${arg_SOURCES}
    COMMENT "Compiling the Java classes of ${target}")
  set(outputs ${classes})
  if(arg_JAR)
    add_custom_command(
      OUTPUT ${arg_JAR}
      COMMAND ${Java_JAR_EXECUTABLE} cf ${arg_JAR} -C ${arg_OUTPUT_DIRECTORY} .
      DEPENDS ${classes}
      COMMENT "Packing the Java classes of ${target}")
    list(APPEND outputs ${arg_JAR})
  endif()
  add_custom_target(${target} DEPENDS ${outputs})
endfunction()

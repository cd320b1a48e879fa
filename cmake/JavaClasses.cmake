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

# Classes in packages, whose class file names (nested and anonymous classes
# included) are not known in advance: the compilation is tracked by a stamp
# file, and the output directory is emptied first so that the classes of a
# removed source do not linger.
#
#   launcher_java_package(<target> SOURCES <file>... OUTPUT_DIRECTORY <dir>
#                         [CLASSPATH <entry>...] [DEPENDS <file>...]
#                         [RESOURCES_DIRECTORY <dir>] [JAR <file> [MANIFEST <file>]] [ALL])
#
# CLASSPATH entries are handed to javac; DEPENDS names the files (stamps, jars)
# whose change must recompile the sources. RESOURCES_DIRECTORY is copied
# into the output directory as it is. MANIFEST names a file of manifest
# lines that the jar tool adds to its own. The target's STAMP property names
# the stamp file.
function(launcher_java_package target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ALL" "OUTPUT_DIRECTORY;JAR;RESOURCES_DIRECTORY;MANIFEST"
                        "SOURCES;CLASSPATH;DEPENDS")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
  set(classpath_option)
  if(arg_CLASSPATH)
    string(REPLACE ";" ":" classpath "${arg_CLASSPATH}")
    set(classpath_option -classpath ${classpath})
  endif()
  set(resource_copy)
  set(resource_files)
  if(arg_RESOURCES_DIRECTORY)
    file(GLOB_RECURSE resource_files CONFIGURE_DEPENDS ${arg_RESOURCES_DIRECTORY}/*)
    set(resource_copy COMMAND ${CMAKE_COMMAND} -E copy_directory ${arg_RESOURCES_DIRECTORY} ${arg_OUTPUT_DIRECTORY})
  endif()
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${arg_OUTPUT_DIRECTORY}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${arg_OUTPUT_DIRECTORY}
    COMMAND ${Java_JAVAC_EXECUTABLE} --release 8 -Xlint:all -Xlint:-options -encoding UTF-8
            ${classpath_option} -d ${arg_OUTPUT_DIRECTORY} ${arg_SOURCES}
    ${resource_copy}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${arg_SOURCES} ${arg_DEPENDS} ${resource_files}
    COMMENT "Compiling the Java classes of ${target}"
    VERBATIM)
  set(outputs ${stamp})
  if(arg_JAR)
    set(jar_command ${Java_JAR_EXECUTABLE} cf ${arg_JAR})
    if(arg_MANIFEST)
      set(jar_command ${Java_JAR_EXECUTABLE} cfm ${arg_JAR} ${arg_MANIFEST})
    endif()
    add_custom_command(
      OUTPUT ${arg_JAR}
      COMMAND ${CMAKE_COMMAND} -E rm -f ${arg_JAR}
      COMMAND ${jar_command} -C ${arg_OUTPUT_DIRECTORY} .
      DEPENDS ${stamp} ${arg_MANIFEST}
      COMMENT "Packing the Java classes of ${target}"
      VERBATIM)
    list(APPEND outputs ${arg_JAR})
  endif()
  set(all)
  if(arg_ALL)
    set(all ALL)
  endif()
  add_custom_target(${target} ${all} DEPENDS ${outputs})
  set_target_properties(${target} PROPERTIES STAMP ${stamp})
endfunction()

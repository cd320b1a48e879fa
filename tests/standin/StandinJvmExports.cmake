# Checks a stand-in jvm.dll's tables: JNI_CreateJavaVM exported without x86
# decoration, and no compiler runtime DLL among the imports.
#   cmake -DOBJDUMP=<objdump> -DDLL=<jvm.dll> -P StandinJvmExports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE tables RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${DLL}")
endif()
if(NOT tables MATCHES "\\][ \t]+JNI_CreateJavaVM\n")
  message(FATAL_ERROR "${DLL} does not export JNI_CreateJavaVM under that exact name")
endif()
if(tables MATCHES "DLL Name: (lib[^\n]*)")
  message(FATAL_ERROR "${DLL} imports ${CMAKE_MATCH_1}")
endif()

# Adds the project to a tiny CMake project of its own with add_subdirectory(), configures it and
# builds a library of that project that links cuentas::controldigits: every path of the project
# must follow its own folders, not the embedding project's.
#
# cmake -DCUENTAS_SOURCE=<project> -DWORK=<empty folder> [-DLAUNCHER=ccache] -P embedding_check.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)
project(embedding LANGUAGES CXX)
set(CUENTAS_TESTS OFF CACHE BOOL \"\")
add_subdirectory(\"${CUENTAS_SOURCE}\" cuentas)
add_library(consumer STATIC consumer.cpp)
target_link_libraries(consumer PRIVATE cuentas::controldigits)
")
file(WRITE ${WORK}/consumer.cpp "#include \"controldigits/control_digits.h\"
unsigned digitsOfAnAccount() { return cuentas::controlDigits(\"0049\", \"0001\", \"77\"); }
")

set(launcher "")
if(LAUNCHER)
  set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
foreach(step configure build)
  if(step STREQUAL configure)
    set(command ${CMAKE_COMMAND} -S ${WORK} -B ${WORK}/build -G Ninja ${launcher})
  else()
    set(command ${CMAKE_COMMAND} --build ${WORK}/build --target consumer)
  endif()
  execute_process(COMMAND ${command} RESULT_VARIABLE result OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the embedding project failed to ${step}:\n${output}")
  endif()
endforeach()
if(NOT EXISTS ${WORK}/build/cuentas/controldigits)
  message(FATAL_ERROR "the project's build folders are not under the embedding one's")
endif()
file(REMOVE_RECURSE ${WORK})

# Warning and sanitizer flags shared by every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports overlapping copies inside std::string at -O2 that cannot happen
  # (a known false positive of its -Wrestrict).
  add_compile_options(-Wno-restrict)
endif()
if(CUENTAS_WERROR)
  add_compile_options(-Werror)
endif()
if(CUENTAS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# One line per test executable: cuentas_add_test(name sources... LIBS libs...)
function(cuentas_add_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    # One value per property: a list inside ENVIRONMENT would lose all but its first entry.
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      ENVIRONMENT_MODIFICATION "CUENTAS_TEST_DATA=set:${CMAKE_SOURCE_DIR}/tests/data")
endfunction()

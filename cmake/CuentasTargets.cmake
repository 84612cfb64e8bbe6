# One line per library and per test executable.

# cuentas_add_library(name SOURCES... [PUBLIC libs...] [PRIVATE libs...])
# A library of the folder it is declared in. Its headers are included as "<folder>/file.h",
# through a staging directory in the build tree that holds nothing but a link to the folder:
# a library, and whoever links it, sees the headers of what it links and no others, so an
# include that crosses a layer the wrong way does not compile. PUBLIC are the libraries its
# headers include, PRIVATE those only its sources include.
function(cuentas_add_library name)
  cmake_parse_arguments(L "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  add_library(cuentas::${name} ALIAS ${name})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  cuentas_stage_headers(${name} ${folder} PUBLIC)
  target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
endfunction()

# Exposes the source folder `folder` (relative to the project) to `target` as "<folder>/...".
function(cuentas_stage_headers target folder scope)
  set(stage ${PROJECT_BINARY_DIR}/include/${target})
  get_filename_component(parent ${stage}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${stage}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${stage})
endfunction()

# cuentas_add_test(name sources... LIBS libs... [PROPERTIES name value...])
# The test sees the libraries it links and the shared helpers in tests/ ("tests/support/...").
function(cuentas_add_test name)
  cmake_parse_arguments(T "" "" "LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} cuentas_test_support GTest::gtest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    # One value per property: a list inside ENVIRONMENT would lose all but its first entry.
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      ENVIRONMENT_MODIFICATION "CUENTAS_TEST_DATA=set:${PROJECT_SOURCE_DIR}/tests/data"
      ${T_PROPERTIES})
endfunction()

# cuentas_forbid_links(TARGETS targets... FORBID prefixes...)
# Stops the configuration when one of the targets links, directly or through the libraries it
# links, a library whose name starts with one of the prefixes ("Qt6::", "ALSA::").
function(cuentas_forbid_links)
  cmake_parse_arguments(F "" "" "TARGETS;FORBID" ${ARGN})
  foreach(target ${F_TARGETS})
    set(pending ${target})
    set(seen "")
    while(pending)
      list(POP_FRONT pending current)
      if(current IN_LIST seen OR NOT TARGET ${current})
        continue()
      endif()
      list(APPEND seen ${current})
      get_target_property(direct ${current} LINK_LIBRARIES)
      get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
      foreach(library IN LISTS direct interface)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
        foreach(prefix ${F_FORBID})
          if(library MATCHES "^${prefix}")
            message(FATAL_ERROR "${target} must not link ${library} (through ${current})")
          endif()
        endforeach()
        list(APPEND pending ${library})
      endforeach()
    endwhile()
  endforeach()
endfunction()

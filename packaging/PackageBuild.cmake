# Settings of the Debian package build (CUENTAS_PACKAGE=ON, tools/cuentas-dev package): Debian's
# hardening flags and the installed register's path. Included before any target is defined, so
# that every target compiles with the same flags; other builds are left exactly as they are.
option(CUENTAS_PACKAGE "Build the Debian package: hardening flags, installed paths" OFF)

# The installed layout, used by the install rules and by the command-line tool's default.
if(WIN32)
  # On Windows the layout moves with the installation folder: the program in its bin\ folder,
  # the table beside that folder (the backslash doubled for the C string it becomes).
  set(CUENTAS_INSTALLED_REGISTER "..\\\\NomBancos.dbf")
else()
  set(CUENTAS_INSTALLED_REGISTER "/opt/cuentas/share/NomBancos.dbf")
endif()

if(CUENTAS_PACKAGE)
  # Debian's own flags for every hardening feature (fortified functions, stack protector,
  # read-only relocations, immediate binding, position-independent executable), asked of
  # dpkg-buildflags as a Debian package build does. CMake reads no CPPFLAGS: they join CXXFLAGS.
  find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  function(cuentas_buildflags variable result)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${DPKG_BUILDFLAGS} --get ${variable}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(${result} "${flags}" PARENT_SCOPE)
  endfunction()
  cuentas_buildflags(CXXFLAGS hardening_cxxflags)
  cuentas_buildflags(CPPFLAGS hardening_cppflags)
  cuentas_buildflags(LDFLAGS hardening_ldflags)
  string(APPEND CMAKE_CXX_FLAGS " ${hardening_cppflags} ${hardening_cxxflags}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS " ${hardening_ldflags}")
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()

  # The command-line tool reads the installed register when no --table is given.
  set(CUENTAS_REGISTER_FILE "${CUENTAS_INSTALLED_REGISTER}"
      CACHE FILEPATH "The register cuentas-cli reads by default" FORCE)
endif()

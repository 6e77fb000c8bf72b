# Optimised builds take the hardening flags a Debian package is built with, as
# `DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags` gives them: fortified functions, the
# strong stack protector, format-security errors, full RELRO with immediate binding (PIE is the
# compiler's default). The build type keeps its own -O and -g. Debug, sanitizer and fuzzing
# builds keep their own flags. Where dpkg-buildflags is missing (off Debian) the same flags are
# written out below.
#
# Source and build paths are mapped to "." in debug information and __FILE__, so the binary (and
# the build ID its stripped copy keeps) does not depend on where the tree or the build lives.

option(ZARVOLITH_RELEASE_FLAGS "Build optimised builds with the Debian hardening flags" ON)
# True once the flags below are in force (the reproducibility test needs the path maps).
set(ZARVOLITH_RELEASE_FLAGS_IN_FORCE FALSE)

string(TOUPPER "${CMAKE_BUILD_TYPE}" zarvolith_build_type)
if(NOT ZARVOLITH_RELEASE_FLAGS OR ZARVOLITH_SANITIZE OR ZARVOLITH_FUZZ
   OR NOT zarvolith_build_type MATCHES "^(RELEASE|RELWITHDEBINFO|MINSIZEREL)$")
  return()
endif()

find_program(ZARVOLITH_DPKG_BUILDFLAGS dpkg-buildflags)

function(zarvolith_dpkg_flags name out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${ZARVOLITH_DPKG_BUILDFLAGS} --get ${name}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-buildflags --get ${name} failed: ${result}")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  # The build type chooses optimisation and debug information.
  list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

if(ZARVOLITH_DPKG_BUILDFLAGS)
  zarvolith_dpkg_flags(CPPFLAGS zarvolith_cppflags)
  zarvolith_dpkg_flags(CFLAGS zarvolith_cflags)
  zarvolith_dpkg_flags(CXXFLAGS zarvolith_cxxflags)
  zarvolith_dpkg_flags(LDFLAGS zarvolith_ldflags)
else()
  # Off Debian: the flags Debian 12 gives, written out. A Debian build, the package's included,
  # has dpkg-buildflags (from dpkg-dev) and takes them from it.
  message(NOTICE "dpkg-buildflags not found: using the Debian hardening flags as written in "
                 "dist/ReleaseFlags.cmake")
  set(zarvolith_cppflags -Wdate-time -D_FORTIFY_SOURCE=2)
  set(zarvolith_cflags -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -fstack-protector-strong -Wformat
                       -Werror=format-security)
  set(zarvolith_cxxflags ${zarvolith_cflags})
  set(zarvolith_ldflags -Wl,-z,relro -Wl,-z,now)
endif()

foreach(flag ${zarvolith_cppflags})
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:${flag}>)
endforeach()
foreach(flag ${zarvolith_cflags})
  add_compile_options($<$<COMPILE_LANGUAGE:C>:${flag}>)
endforeach()
foreach(flag ${zarvolith_cxxflags})
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:${flag}>)
endforeach()
add_link_options(${zarvolith_ldflags})

# dpkg-buildflags maps the source directory (its working directory here); the build directory
# gets its own map, given last so it wins when the build lives inside the source tree.
add_compile_options(-ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
set(ZARVOLITH_RELEASE_FLAGS_IN_FORCE TRUE)

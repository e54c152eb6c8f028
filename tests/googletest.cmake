# SPDX-License-Identifier: MIT
# GoogleTest: the installed one where CMake finds it (Debian's libgtest-dev), otherwise built
# here from the sources that Debian's googletest package ships. The cross build for Windows
# normally builds the sources, since no MinGW GoogleTest is installed;
# -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON makes any build do so.
find_package(GTest QUIET)
if(GTest_FOUND)
  return()
endif()
set(MASKORA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${MASKORA_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest found and no GoogleTest sources in "
                      "${MASKORA_GOOGLETEST_SOURCE}: install Debian's libgtest-dev or googletest "
                      "(scripts/install-deps test or windows), or configure with -DBUILD_TESTING=OFF")
endif()
message(STATUS "GoogleTest: built from ${MASKORA_GOOGLETEST_SOURCE}")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${MASKORA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Not our code: built with its own warnings, and none of them an error.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "" COMPILE_WARNING_AS_ERROR OFF)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

# GoogleTest for the Windows build, compiled from Debian's googletest sources
# with the cross compiler: no GoogleTest is installed for that target.
set(VANTOR_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources built into the Windows tests")
if(NOT EXISTS ${VANTOR_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${VANTOR_GOOGLETEST_SOURCE}: install Debian's googletest package")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VANTOR_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# The sources name their targets GTest::gtest and GTest::gtest_main too, as
# find_package(GTest) does: the tests link the same way everywhere.

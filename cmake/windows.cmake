# Settings of the Windows build: kelvorat.exe and the test programs, run under
# wine here. No Qt, libcurl or iconv: the platform layers bind the system's
# own DLLs by name at run time.
set(KELVORAT_WITH_QT OFF CACHE BOOL "Build the Qt window, the program and its tests" FORCE)
set(KELVORAT_BENCHMARKS OFF CACHE BOOL "Build the benchmarks" FORCE)
set(KELVORAT_SANITIZE OFF CACHE BOOL "Build with AddressSanitizer and UndefinedBehaviorSanitizer" FORCE)

# Unicode Win32 entry points (the wide functions), Windows 7 and later.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# Static C and C++ runtimes: the program needs no DLL beyond the system's.
add_link_options(-static -static-libgcc -static-libstdc++)

# GoogleTest from Debian's source package, built with the cross compiler.
set(KELVORAT_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${KELVORAT_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# It names its targets GTest::gtest and so on itself, like the installed package.

# Windows, cross-built with MinGW-w64 (cmake/mingw-w64-x86_64.cmake): no Qt, so
# the Qt window, the Linux plugin and the Qt tests are not part of this build.
# GoogleTest is built from Debian's sources by the cross compiler.
set(QUORVEL_QT OFF)
set(QUORVEL_BENCHMARKS OFF CACHE BOOL "" FORCE)

# Unicode Win32 APIs, no min/max macros.
add_compile_definitions(UNICODE _UNICODE NOMINMAX)

set(QUORVEL_GOOGLETEST_SOURCE "/usr/src/googletest/googletest" CACHE PATH
    "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS "${QUORVEL_GOOGLETEST_SOURCE}/src/gtest-all.cc")
    message(FATAL_ERROR "GoogleTest sources not found in ${QUORVEL_GOOGLETEST_SOURCE}; "
                        "install the googletest package (scripts/setup-windows.sh)")
endif()
add_library(quorvel_gtest STATIC "${QUORVEL_GOOGLETEST_SOURCE}/src/gtest-all.cc")
target_include_directories(quorvel_gtest SYSTEM PUBLIC "${QUORVEL_GOOGLETEST_SOURCE}/include")
target_include_directories(quorvel_gtest PRIVATE "${QUORVEL_GOOGLETEST_SOURCE}")
add_library(quorvel_gtest_main STATIC "${QUORVEL_GOOGLETEST_SOURCE}/src/gtest_main.cc")
target_link_libraries(quorvel_gtest_main PUBLIC quorvel_gtest)
add_library(GTest::gtest ALIAS quorvel_gtest)
add_library(GTest::gtest_main ALIAS quorvel_gtest_main)

# Header-only host packages the tests use, without the rest of /usr/include.
set(QUORVEL_HOST_HEADERS "${CMAKE_BINARY_DIR}/host-headers")
file(MAKE_DIRECTORY "${QUORVEL_HOST_HEADERS}")
file(CREATE_LINK /usr/include/nlohmann "${QUORVEL_HOST_HEADERS}/nlohmann" SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE "${QUORVEL_HOST_HEADERS}")
set(nlohmann_json_FOUND TRUE)
# Boost's headers (Boost.Geometry), linked in alone for the same reason.
file(CREATE_LINK /usr/include/boost "${QUORVEL_HOST_HEADERS}/boost" SYMBOLIC)
add_library(Boost::headers INTERFACE IMPORTED)
target_include_directories(Boost::headers SYSTEM INTERFACE "${QUORVEL_HOST_HEADERS}")

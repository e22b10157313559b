# Linux: the Qt window and plugin, and the test and benchmark libraries of the
# system's packages.
set(QUORVEL_QT ON)
find_package(GTest REQUIRED)
find_package(nlohmann_json REQUIRED)
find_package(Boost 1.74 REQUIRED)

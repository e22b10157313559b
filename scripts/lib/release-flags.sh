# Sourced: sets release_cmake_args, the CMake arguments of the Release build
# that is packaged. Built as Debian builds its packages: the distribution's
# hardening flags, without its -g and -O2 (Release optimises; the package is
# stripped).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
release_cxxflags=()
for flag in $(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS); do
    [ "$flag" = -g ] || [ "$flag" = -O2 ] || release_cxxflags+=("$flag")
done
release_ldflags="$(dpkg-buildflags --get LDFLAGS)"
release_cmake_args=(-DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCHMARKS=OFF
    "-DCMAKE_CXX_FLAGS=${release_cxxflags[*]}" "-DCMAKE_EXE_LINKER_FLAGS=$release_ldflags"
    "-DCMAKE_SHARED_LINKER_FLAGS=$release_ldflags" "-DCMAKE_MODULE_LINKER_FLAGS=$release_ldflags")

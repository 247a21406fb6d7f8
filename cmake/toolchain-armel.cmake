# Cross build for the unit's processor (ARM926EJ-S: ARMv5TE, soft float),
# which is Debian's armel, with the libraries installed for armel through
# multiarch (scripts/setup). Test programs and build-time tools run under
# qemu's user mode, called explicitly (binfmt registration is not relied on).
#   cmake -S . -B build-armel -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-armel.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(RAILBOX_TRIPLET arm-linux-gnueabi)
set(CMAKE_C_COMPILER ${RAILBOX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${RAILBOX_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${RAILBOX_TRIPLET})
set(CMAKE_C_FLAGS_INIT "-march=armv5te -mtune=arm926ej-s -mfloat-abi=soft")
# -Wno-psabi: GCC notes every std::vector iterator passed by value that its
# ABI changed in GCC 7.1; everything here is built by one compiler.
set(CMAKE_CXX_FLAGS_INIT "-march=armv5te -mtune=arm926ej-s -mfloat-abi=soft -Wno-psabi")

# Libraries and packages for the target only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${RAILBOX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${RAILBOX_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The processor is named so that an instruction it lacks fails the tests.
# The C library comes from the toolchain's own directory: multiarch's
# libc6:armel may be of another release than the toolchain's loader, and a
# loader and C library of different releases crash on the first thread.
find_program(RAILBOX_QEMU_ARM NAMES qemu-arm-static qemu-arm REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${RAILBOX_QEMU_ARM} -cpu arm926 -L /usr/${RAILBOX_TRIPLET}
  -E LD_LIBRARY_PATH=/usr/${RAILBOX_TRIPLET}/lib)

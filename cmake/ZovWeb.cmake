# The web build: the libraries the page runs, compiled to WebAssembly with its
# 128-bit SIMD, and (ZOV_BUILD_TESTS) tests/web's check of them under node.
# libopenmpt and libjpeg-turbo come from scripts/web-libs.sh, which writes the
# settings below for cmake -C; scripts/web-build.sh does it all.
if(NOT ZOV_WEB_LIBOPENMPT OR NOT JPEG_LIBRARY OR NOT JPEG_INCLUDE_DIR)
  message(FATAL_ERROR "the web build links the libraries of scripts/web-libs.sh: "
                      "configure it with scripts/web-build.sh")
endif()
foreach(option ZOV_BUILD_BENCH ZOV_BUILD_PROGRAMS ZOV_BUILD_TOOLS ZOV_SANITIZE ZOV_FUZZ)
  if(${option})
    message(FATAL_ERROR "${option} has no web build: turn it off")
  endif()
endforeach()

# With -msse2 the SSE2 routines compile as they stand: Emscripten maps the
# intrinsics onto SIMD128.
target_compile_options(zov_options INTERFACE -msimd128 -msse2)

# The kit's tools are native programs: the web build reads the data/ of a
# native build.
set(ZOV_WEB_DATA_DIR ${PROJECT_SOURCE_DIR}/build/bin/data CACHE PATH "The data/ folder of a native build")

add_library(zov_web_libopenmpt STATIC IMPORTED GLOBAL)
set_target_properties(zov_web_libopenmpt PROPERTIES
  IMPORTED_LOCATION ${ZOV_WEB_LIBOPENMPT}/lib/libopenmpt.a
  INTERFACE_INCLUDE_DIRECTORIES ${ZOV_WEB_LIBOPENMPT}/include)

# Every target of the project compiles with the same warnings and, when asked,
# the same sanitizers.
add_library(zov_options INTERFACE)
target_compile_options(zov_options INTERFACE -Wall -Wextra)
target_include_directories(zov_options INTERFACE ${PROJECT_SOURCE_DIR})
if(ZOV_SANITIZE)
  target_compile_options(zov_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(zov_options INTERFACE -fsanitize=address,undefined)
endif()
if(ZOV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZOV_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
  endif()
  # Coverage for the project's own code; the fuzzer's main is linked only
  # into the fuzz targets.
  target_compile_options(zov_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(zov_options INTERFACE -fsanitize=address,undefined)
endif()

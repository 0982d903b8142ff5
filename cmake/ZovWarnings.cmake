# Every target of the project compiles with the same warnings and, when asked,
# the same sanitizers.
add_library(zov_options INTERFACE)
target_compile_options(zov_options INTERFACE -Wall -Wextra)
target_include_directories(zov_options INTERFACE ${PROJECT_SOURCE_DIR})
if(ZOV_SANITIZE)
  target_compile_options(zov_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(zov_options INTERFACE -fsanitize=address,undefined)
endif()

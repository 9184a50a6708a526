# One interface target carries the flags every kova library, program and test is built with.
# Results are compared bit for bit, so floating-point contraction stays off and no
# fast-math or host-specific code generation is ever enabled.
add_library(kova_flags INTERFACE)
target_compile_options(kova_flags INTERFACE
  -Wall -Wextra -Wpedantic
  -ffp-contract=off)
target_include_directories(kova_flags INTERFACE ${PROJECT_SOURCE_DIR})
if(KOVA_SANITIZE)
  target_compile_options(kova_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(kova_flags INTERFACE -fsanitize=address,undefined)
endif()
if(KOVA_SANITIZE_THREAD)
  target_compile_options(kova_flags INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(kova_flags INTERFACE -fsanitize=thread)
endif()

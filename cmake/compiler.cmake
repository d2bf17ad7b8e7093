# Warnings on everywhere; optional sanitizer build for CI.
add_compile_options(-Wall -Wextra -Wpedantic)

if(QUILLET_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

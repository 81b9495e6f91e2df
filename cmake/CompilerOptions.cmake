# One interface target carries warnings (as errors) and, when asked, the sanitizers.
add_library(sorvel_options INTERFACE)
target_compile_options(sorvel_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Wunused -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough -Werror)

option(SORVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(SORVEL_SANITIZE)
  target_compile_options(sorvel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(sorvel_options INTERFACE -fsanitize=address,undefined)
endif()

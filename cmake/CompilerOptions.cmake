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

# Fuzzing build (clang only): the project's code is instrumented for coverage-guided fuzzing
# and checked by AddressSanitizer and UndefinedBehaviorSanitizer; fuzz/ adds the targets.
option(SORVEL_FUZZ "Build the libFuzzer targets of fuzz/ (needs clang)" OFF)
if(SORVEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "SORVEL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  target_compile_options(sorvel_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  # Limits of picture size, canvas and font size small enough that one input costs well under
  # 2 ms (see the headers that define them); the production limits have their own tests.
  target_compile_definitions(sorvel_options INTERFACE SORVEL_SMALL_LIMITS)
  target_link_options(sorvel_options INTERFACE -fsanitize=address,undefined)
endif()

# gold links a test program in about a third of the time the default linker takes, and the
# test command links some seventy of them in each of its builds.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=gold SORVEL_LINKER_GOLD)
if(SORVEL_LINKER_GOLD)
  add_link_options(-fuse-ld=gold)
endif()

# Unity builds of the libraries: their files compiled a few at a time as one, so that Qt's
# headers are parsed once a batch instead of once a file. The test command turns this on for its
# builds from scratch; an everyday build keeps one file a unit, which rebuilds less on a change.
option(SORVEL_UNITY "Compile each library's files in batches (faster builds from scratch)" OFF)
function(sorvel_unity target)
  if(SORVEL_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
endfunction()

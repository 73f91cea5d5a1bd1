# Build-wide instrumentation, chosen by DNL_SANITIZE, DNL_FUZZ and DNL_COVERAGE. It applies to
# every target defined after this file is included.

# Any finding aborts the program, so a test or a fuzz run that meets one fails.
set(DNL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)

if(DNL_SANITIZE OR DNL_FUZZ)
  add_compile_options(${DNL_SANITIZER_FLAGS})
  add_link_options(${DNL_SANITIZER_FLAGS})
endif()

if(DNL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "DNL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  # Coverage feedback for libFuzzer in every object; only the fuzz programs link its main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(DNL_COVERAGE)
  add_compile_options(--coverage -O0)
  add_link_options(--coverage)
endif()

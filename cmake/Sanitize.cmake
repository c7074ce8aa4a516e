# -DFMU_SANITIZE=ON: every target, units included, is built with AddressSanitizer and
# UndefinedBehaviorSanitizer; any finding aborts the process, so a test that triggers one fails.
# With clang the unit code also carries libFuzzer's coverage, and the fuzzers in fuzz/ are built.
option(FMU_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
set(FMU_FUZZ OFF)
if(FMU_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
    set(FMU_FUZZ ON)
  endif()
endif()

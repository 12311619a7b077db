# libFuzzer builds: every target is instrumented for coverage and checked by
# AddressSanitizer and UndefinedBehaviorSanitizer; only the fuzz targets link
# libFuzzer's main. scripts/fuzz.sh configures and runs this.
if(VELMORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VELMORA_FUZZ needs clang++ (run scripts/fuzz.sh, or configure with CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

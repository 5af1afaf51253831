if(HANDHELD_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz build instruments everything it compiles: libFuzzer steers by the coverage of the
# code under test, not of the harness, and a fault inside a parser must stop the run. Only
# the fuzz binaries link libFuzzer itself (fuzz/CMakeLists.txt); anything else this build
# links carries the sanitizers alone.
if(HANDHELD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VARK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VARK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VARK_FUZZ needs clang (CXX=clang++)")
  endif()
  # clang finds the libFuzzer and sanitizer runtimes in a package of their own
  # that apt installs only as a recommendation: say so here, not at the first link.
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer,address,undefined)
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
  ]] VARK_HAVE_FUZZER_RUNTIME)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  if(NOT VARK_HAVE_FUZZER_RUNTIME)
    message(FATAL_ERROR "VARK_FUZZ needs clang's libFuzzer and sanitizer runtimes "
                        "(Debian: libclang-rt-dev)")
  endif()
  # Instrument everything for coverage; the fuzz targets add the libFuzzer main.
  # Loadable modules stay plain: clang keeps the sanitizer runtime and the
  # program's type information in the executable, so an instrumented module
  # cannot link on its own (and the accessibility module links with
  # --no-undefined). No fuzz target loads a module, so nothing goes unchecked.
  set(instrumented $<NOT:$<STREQUAL:$<TARGET_PROPERTY:TYPE>,MODULE_LIBRARY>>)
  add_compile_options($<${instrumented}:-fsanitize=fuzzer-no-link,address,undefined>
                      $<${instrumented}:-fno-omit-frame-pointer>)
  add_link_options($<${instrumented}:-fsanitize=address,undefined>)
  unset(instrumented)
endif()

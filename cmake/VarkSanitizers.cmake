if(VARK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VARK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VARK_FUZZ needs clang (CXX=clang++)")
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

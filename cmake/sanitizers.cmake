# BRINDLOCK_SANITIZE=ON builds everything (GoogleTest included) with
# AddressSanitizer and UndefinedBehaviorSanitizer. Every finding aborts the
# program, so a test that trips one fails; leaks are reported at exit.
option(BRINDLOCK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(BRINDLOCK_SANITIZE)
  if(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "BRINDLOCK_SANITIZE is for the native build")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # Keeps these tests apart from the plain native ones in the one CTest run.
  set(BRINDLOCK_TEST_PREFIX "asan.")
endif()

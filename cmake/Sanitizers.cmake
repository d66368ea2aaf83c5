# STONEWELL_SANITIZE applies to every target so that libraries and tests agree.
if(STONEWELL_SANITIZE)
  string(REPLACE ";" "," _san "${STONEWELL_SANITIZE}")
  add_compile_options(-fsanitize=${_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_san})
  # Asserts stay on in sanitizer builds.
  add_compile_options(-UNDEBUG)
  # gcc's instrumentation makes -Wmaybe-uninitialized report false positives (inside the
  # standard library's <regex>, for one); the normal build keeps the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

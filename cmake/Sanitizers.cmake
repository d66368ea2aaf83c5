# STONEWELL_SANITIZE applies to every target so that libraries and tests agree.
if(STONEWELL_SANITIZE)
  string(REPLACE ";" "," _san "${STONEWELL_SANITIZE}")
  add_compile_options(-fsanitize=${_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_san})
  # Asserts stay on in sanitizer builds.
  add_compile_options(-UNDEBUG)
endif()

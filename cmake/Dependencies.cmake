# All dependencies come from Debian packages installed by scripts/setup.
find_package(Threads REQUIRED)
find_package(SDL2 REQUIRED CONFIG)
find_package(Freetype REQUIRED)
find_package(PNG REQUIRED)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3 REQUIRED)  # the data tools only
endif()
if(STONEWELL_TESTS)
  find_package(GTest REQUIRED)
endif()
if(STONEWELL_BENCH)
  find_package(benchmark REQUIRED)
endif()

# Images: DevIL on Debian; a Windows build decodes with stb_image alone. The stb header is
# source, so Debian's copy serves the cross build too.
find_path(STB_INCLUDE_DIR stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
if(NOT WIN32)
  find_package(DevIL REQUIRED)
  # DevIL's find module reports plain variables; wrap them in a target.
  if(NOT TARGET DevIL::IL)
    add_library(DevIL::IL INTERFACE IMPORTED)
    set_target_properties(DevIL::IL PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${IL_INCLUDE_DIR}"
      INTERFACE_LINK_LIBRARIES "${IL_LIBRARIES}")
  endif()
endif()

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

# A cross build for Windows: the DLLs the programs load stand beside them, so that they start
# under wine (the tests) and from the installed folder.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(windows_dlls "")
  foreach(prefix ${CMAKE_PREFIX_PATH})
    file(GLOB prefix_dlls ${prefix}/bin/*.dll)
    list(APPEND windows_dlls ${prefix_dlls})
  endforeach()
  foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll zlib1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
      OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
      find_file(found ${runtime} PATHS /usr/x86_64-w64-mingw32/lib NO_CMAKE_FIND_ROOT_PATH
        NO_CACHE)
    endif()
    list(APPEND windows_dlls ${found})
    unset(found)
  endforeach()
  set(STONEWELL_WINDOWS_DLLS ${windows_dlls})
  file(COPY ${windows_dlls} DESTINATION ${CMAKE_BINARY_DIR})
endif()

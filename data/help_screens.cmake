# Takes the help page's screen pictures with stonewell-headless on the built data set.
# Runs in a scratch root (the built DATA/ seen through links, its own SAVE folder) with a
# scratch home, so the walk neither reads nor writes anyone's progress (the per-user save
# folder is read first).
#   cmake -DHEADLESS=... -DDATA_DIR=... -DSCRIPT=... -DSCRATCH=... -P help_screens.cmake
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/DATA/SAVE ${SCRATCH}/shots)
foreach(sub IMG SOUND DATA)
  file(CREATE_LINK ${DATA_DIR}/${sub} ${SCRATCH}/DATA/${sub} SYMBOLIC)
endforeach()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
          HOME=${SCRATCH}/home XDG_DATA_HOME=${SCRATCH}/home/share
          XDG_CONFIG_HOME=${SCRATCH}/home/config
          ${HEADLESS} --root ${SCRATCH} --script ${SCRIPT} --shots ${SCRATCH}/shots
          --trace ${SCRATCH}/trace.txt
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the help page's screen walk failed (${result}): ${errors}")
endif()
file(GLOB shots ${SCRATCH}/shots/*.png)
file(COPY ${shots} DESTINATION ${DATA_DIR}/IMG/HELP)
file(REMOVE_RECURSE ${SCRATCH})

set(CMAKE_C_COMPILER ${VELOMAR_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELOMAR_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELOMAR_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELOMAR_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the .exe tests through Wine, each on the bench it was given;
# scripts/wine-env prepares the benches.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-on-bench)

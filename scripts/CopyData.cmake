# Copies the reference folders of data/ into the program's folder beside the executable.
# file(COPY) skips files whose time stamp already matches, so a rebuild copies only what
# changed; a checkout without data/ yields an empty program folder instead of a failed build.
if(NOT DEFINED SRC OR NOT DEFINED DST)
    message(FATAL_ERROR "CopyData.cmake needs -DSRC=<data folder> -DDST=<program folder>")
endif()
file(MAKE_DIRECTORY "${DST}")
if(IS_DIRECTORY "${SRC}")
    file(COPY "${SRC}/" DESTINATION "${DST}")
endif()

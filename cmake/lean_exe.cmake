# Release settings of the Windows builds, which link the C and C++ libraries
# into the exe: what the program never reaches stays out of it.
if(NOT MINGW)
  return()
endif()

# A build folder keeps the compiler it was first configured with.
if(DEFINED CORVELLA_MINGW_THREADS AND NOT CMAKE_CXX_COMPILER MATCHES "-${CORVELLA_MINGW_THREADS}$")
  message(FATAL_ERROR "${PROJECT_BINARY_DIR} was configured with ${CMAKE_CXX_COMPILER}, not the "
                      "${CORVELLA_MINGW_THREADS} thread model: configure it afresh (cmake --preset NAME --fresh)")
endif()

# Link-time optimisation sees the whole program at once; in one partition,
# because with more this compiler stops with an internal error.
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION_MINSIZEREL ON)
set(release $<CONFIG:MinSizeRel>)
add_compile_options($<${release}:-ffunction-sections> $<${release}:-fdata-sections>)
# The program asks no object for its type.
add_compile_options($<$<AND:${release},$<COMPILE_LANGUAGE:CXX>>:-fno-rtti>)
add_link_options($<${release}:-flto-partition=one> $<${release}:-Wl,--gc-sections>)
unset(release)

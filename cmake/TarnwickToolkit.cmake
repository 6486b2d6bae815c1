# tarnwick_find_toolkit(<wx components...>)
# Finds wxWidgets with the components given (FindwxWidgets: wxWidgets_INCLUDE_DIRS, _DEFINITIONS,
# _CXX_FLAGS, _LIBRARIES). On Windows the toolkit would make every program a windows-only one
# (no console): the programs keep their console, which the command line's verbs and the tests
# print to.
macro(tarnwick_find_toolkit)
  find_package(wxWidgets 3.2 REQUIRED COMPONENTS ${ARGN})
  if(WIN32)
    list(FILTER wxWidgets_LIBRARIES EXCLUDE REGEX "^-mwindows$|--subsystem,windows")
  endif()
endmacro()

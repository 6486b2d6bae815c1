# tarnwick_module(<name> DEPENDS <modules...> [LIBRARIES <libs...>] [ONLY <stems...>])
# Builds src/<name>/*.cpp into the static library tarnwick_<name>, namespace tarnwick::<name>.
# ONLY keeps the files of the stems given (a module's part that builds without the windows).
# Every public header is also compiled alone once, so headers include what they use.
# A file named *_posix.cpp or *_win32.cpp is one system's backend of the header of its stem: only
# the files of the system being built for are taken. A file named X_headless.cpp stands in for X.cpp,
# which leads to the windows, in a tree built without them (TARNWICK_UI off), and only there.
if(WIN32)
  set(TARNWICK_SYSTEM win32)
  set(TARNWICK_OTHER_SYSTEM posix)
else()
  set(TARNWICK_SYSTEM posix)
  set(TARNWICK_OTHER_SYSTEM win32)
endif()

function(tarnwick_module name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;LIBRARIES;ONLY" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "_${TARNWICK_OTHER_SYSTEM}\\.cpp$")
  list(FILTER headers EXCLUDE REGEX "_${TARNWICK_OTHER_SYSTEM}\\.h$")
  if(TARNWICK_UI)
    list(FILTER sources EXCLUDE REGEX "_headless\\.cpp$")
  else()
    foreach(source IN LISTS sources)
      if(source MATCHES "^(.*)_headless\\.cpp$")
        list(REMOVE_ITEM sources "${CMAKE_MATCH_1}.cpp")
      endif()
    endforeach()
  endif()
  if(ARG_ONLY)
    list(JOIN ARG_ONLY "|" stems)
    list(FILTER sources INCLUDE REGEX "/(${stems})\\.cpp$")
    list(FILTER headers INCLUDE REGEX "/(${stems})\\.h$")
  endif()
  if(NOT sources)
    return()  # a module folder that has no code yet
  endif()
  add_library(tarnwick_${name} STATIC ${sources} ${headers})
  target_include_directories(tarnwick_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(tarnwick_${name} PUBLIC tarnwick_${dep})
  endforeach()
  if(ARG_LIBRARIES)
    target_link_libraries(tarnwick_${name} PUBLIC ${ARG_LIBRARIES})
  endif()

  set(checks)
  foreach(header IN LISTS headers)
    get_filename_component(stem ${header} NAME_WE)
    set(check ${CMAKE_CURRENT_BINARY_DIR}/header_check/${stem}.cpp)
    file(CONFIGURE OUTPUT ${check} CONTENT "#include \"${name}/${stem}.h\"\n")
    list(APPEND checks ${check})
  endforeach()
  if(checks)
    add_library(tarnwick_${name}_header_check OBJECT ${checks})
    target_link_libraries(tarnwick_${name}_header_check PRIVATE tarnwick_${name})
  endif()
endfunction()

# tarnwick_test(<module> [LIBRARIES <libs...>] [WINDOWS <files...>])
# Builds tests/<module>/*_test.cpp into one GoogleTest executable, tests listed to ctest. The
# WINDOWS files test the toolkit itself and are left out of a tree built without the windows.
function(tarnwick_test module)
  cmake_parse_arguments(ARG "" "" "LIBRARIES;WINDOWS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # *_win32_test.cpp compares with the system's own functions, and is built on that system only.
  list(FILTER sources EXCLUDE REGEX "_${TARNWICK_OTHER_SYSTEM}_test\\.cpp$")
  if(NOT TARNWICK_UI)
    foreach(file IN LISTS ARG_WINDOWS)
      list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    endforeach()
  endif()
  if(NOT sources OR NOT TARGET tarnwick_${module})
    return()
  endif()
  add_executable(${module}_tests ${sources})
  target_link_libraries(${module}_tests PRIVATE tarnwick_${module} tarnwick_test_support
                        GTest::gtest GTest::gmock GTest::gtest_main ${ARG_LIBRARIES})
  gtest_discover_tests(${module}_tests
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60)
endfunction()

# tarnwick_gui_test(<name> SOURCES <files...> LIBRARIES <libs...>)
# A test program that makes windows: its main (tests/gui_support) readies a display for the
# program and the toolkit (on X11 a private X server), so the tests run the same under ctest, CI
# and by hand.
function(tarnwick_gui_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT ARG_SOURCES OR NOT TARNWICK_UI)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE tarnwick_gui_test_support tarnwick_test_support
                        GTest::gtest GTest::gmock ${ARG_LIBRARIES})
  # Labelled "gui": on Windows they run apart from the other suites, under Wine on a display.
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "TARNWICK_SCREENSHOT_DIR=${PROJECT_BINARY_DIR}/screenshots" LABELS gui
    DISCOVERY_TIMEOUT 60)
endfunction()

# tarnwick_module(<name> DEPENDS <modules...> [LIBRARIES <libs...>] [ONLY <stems...>] [EXCEPT <stems...>]
#                 [TARGET <target> STAND_INS <suffixes...>])
# Builds src/<name>/*.cpp into the static library tarnwick_<name>, namespace tarnwick::<name>.
# ONLY keeps the files of the stems given (a module's part that builds without the windows); EXCEPT
# leaves the files of the stems given out (a part that another target builds).
# Every public header is also compiled alone once, so headers include what they use.
# A file named *_posix.cpp or *_win32.cpp is one system's backend of the header of its stem: only
# the files of the system being built for are taken. A file named X_<suffix>.cpp stands in for X.cpp
# in some builds: X_headless.cpp, which leads nowhere, in a tree built without the windows (TARNWICK_UI
# off); X_apart.cpp, which leads to the windows in a library of their own, in the module whose
# windows are apart from it. TARGET builds a second library of the folder, named <target>, whose
# stand-ins are STAND_INS (the first suffix that has a file for a stem wins); its headers are
# checked by the folder's own library.
if(WIN32)
  set(TARNWICK_SYSTEM win32)
  set(TARNWICK_OTHER_SYSTEM posix)
else()
  set(TARNWICK_SYSTEM posix)
  set(TARNWICK_OTHER_SYSTEM win32)
endif()

set(TARNWICK_STAND_IN_SUFFIXES headless apart)

function(tarnwick_module name)
  cmake_parse_arguments(ARG "" "TARGET" "DEPENDS;LIBRARIES;ONLY;EXCEPT;STAND_INS" ${ARGN})
  set(target tarnwick_${name})
  if(ARG_TARGET)
    set(target ${ARG_TARGET})
  elseif(NOT TARNWICK_UI)
    set(ARG_STAND_INS headless)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "_${TARNWICK_OTHER_SYSTEM}\\.cpp$")
  list(FILTER headers EXCLUDE REGEX "_${TARNWICK_OTHER_SYSTEM}\\.h$")
  tarnwick_take_stand_ins(sources "${ARG_STAND_INS}")
  if(ARG_EXCEPT)
    list(JOIN ARG_EXCEPT "|" stems)
    list(FILTER sources EXCLUDE REGEX "/(${stems})\\.cpp$")
    list(FILTER headers EXCLUDE REGEX "/(${stems})\\.h$")
  endif()
  if(ARG_ONLY)
    list(JOIN ARG_ONLY "|" stems)
    list(FILTER sources INCLUDE REGEX "/(${stems})\\.cpp$")
    list(FILTER headers INCLUDE REGEX "/(${stems})\\.h$")
  endif()
  if(NOT sources)
    return()  # a module folder that has no code yet
  endif()
  add_library(${target} STATIC ${sources} ${headers})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(${target} PUBLIC tarnwick_${dep})
  endforeach()
  if(ARG_LIBRARIES)
    target_link_libraries(${target} PUBLIC ${ARG_LIBRARIES})
  endif()
  if(ARG_TARGET)
    return()
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

# tarnwick_take_stand_ins(<sources variable> <suffixes>)
# Leaves in the list the stand-ins of the suffixes given, each in place of the file it stands in
# for (the first suffix with a file for a stem wins), and no file of any other stand-in suffix.
function(tarnwick_take_stand_ins sources_variable suffixes)
  set(sources ${${sources_variable}})
  foreach(suffix IN LISTS TARNWICK_STAND_IN_SUFFIXES)
    if(NOT suffix IN_LIST suffixes)
      list(FILTER sources EXCLUDE REGEX "_${suffix}\\.cpp$")
    endif()
  endforeach()
  foreach(suffix IN LISTS suffixes)
    foreach(source IN LISTS sources)
      if(source MATCHES "^(.*)_${suffix}\\.cpp$")
        if("${CMAKE_MATCH_1}.cpp" IN_LIST sources)
          list(REMOVE_ITEM sources "${CMAKE_MATCH_1}.cpp")
        else()
          list(REMOVE_ITEM sources "${source}")  # a suffix before this one stands in already
        endif()
      endif()
    endforeach()
  endforeach()
  set(${sources_variable} ${sources} PARENT_SCOPE)
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

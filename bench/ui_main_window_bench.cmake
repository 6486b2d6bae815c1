# The real main window and the headless run against the real host in this program, with feeds from
# the loopback test server.
target_sources(${bench_target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/http_server.cpp
                                       ${PROJECT_SOURCE_DIR}/tests/support/temp_dir.cpp
                                       ${PROJECT_SOURCE_DIR}/tests/support/loopback_socket_posix.cpp)
target_include_directories(${bench_target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(${bench_target} PRIVATE tarnwick_plugin tarnwick_host)
set_target_properties(${bench_target} PROPERTIES ENABLE_EXPORTS ON)

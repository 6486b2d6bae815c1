# The benchmark serves its documents from the loopback test server of the test support code.
target_sources(${bench_target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/http_server.cpp
                                       ${PROJECT_SOURCE_DIR}/tests/support/temp_dir.cpp
                                       ${PROJECT_SOURCE_DIR}/tests/support/loopback_socket_posix.cpp)
target_include_directories(${bench_target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)

# The feed XML parser benchmark compares against pugixml, libxml2 and expat on the same bytes.
find_package(PkgConfig REQUIRED)
pkg_check_modules(feed_xml_bench_parsers REQUIRED IMPORTED_TARGET pugixml libxml-2.0 expat)
target_link_libraries(${bench_target} PRIVATE PkgConfig::feed_xml_bench_parsers)

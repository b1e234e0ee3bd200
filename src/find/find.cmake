# Find and replace.
target_sources(q7core PRIVATE
  src/find/search.cpp
)
target_sources(q7gui PRIVATE
  src/find/findcommand.cpp
  src/find/Find.cpp
)

q7_test(tst_search tests/find/tst_search.cpp)
target_link_libraries(tst_search PRIVATE q7core)
q7_test(tst_find tests/find/tst_find.cpp)
target_link_libraries(tst_find PRIVATE q7gui)

add_executable(q7bench_find bench/bench_find.cpp)
target_link_libraries(q7bench_find PRIVATE q7core)

# File commands.
target_sources(q7core PRIVATE
  src/commands/filenames.cpp
)
target_sources(q7gui PRIVATE
  src/commands/filecommands.cpp
  src/platform/commondialog.cpp
)

q7_test(tst_filenames tests/commands/tst_filenames.cpp)
target_link_libraries(tst_filenames PRIVATE q7core)
q7_test(tst_filecommands tests/commands/tst_filecommands.cpp tests/commands/fakecommondialog.h)
target_link_libraries(tst_filecommands PRIVATE q7gui)
target_include_directories(tst_filecommands PRIVATE tests/app)

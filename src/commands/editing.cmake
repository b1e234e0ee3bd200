# Edit menu, undo, quotation, conversion and the date-time stamp.
target_sources(q7core PRIVATE
  src/commands/quoting.cpp
  src/commands/conversions.cpp
  src/commands/statustext.cpp
)
target_sources(q7gui PRIVATE
  src/commands/editcommands.cpp
  src/commands/quotation.cpp
  src/commands/conversion.cpp
)

q7_test(tst_editlogic tests/commands/tst_editlogic.cpp)
target_link_libraries(tst_editlogic PRIVATE q7core)
q7_test(tst_editcommands tests/commands/tst_editcommands.cpp)
target_link_libraries(tst_editcommands PRIVATE q7gui)
target_include_directories(tst_editcommands PRIVATE tests/app)

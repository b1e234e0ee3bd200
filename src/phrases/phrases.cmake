# Phrase data file, date formats and the date and boilerplate dialog.
target_sources(q7core PRIVATE
  src/phrases/dateformats.cpp
)
target_sources(q7gui PRIVATE
  src/phrases/datecommands.cpp
  src/phrases/frmDate.cpp
)
target_sources(q7core PRIVATE
  src/phrases/phrasefile.cpp
  src/phrases/datelines.cpp
)
q7_test(tst_phrasefile tests/phrases/tst_phrasefile.cpp)
target_link_libraries(tst_phrasefile PRIVATE q7core)
q7_test(tst_frmdate tests/phrases/tst_frmdate.cpp)
target_link_libraries(tst_frmdate PRIVATE q7gui)

# Phrase data file, date formats and the date and boilerplate dialog.
target_sources(q7core PRIVATE
  src/phrases/dateformats.cpp
)
target_sources(q7gui PRIVATE
  src/phrases/datecommands.cpp
)

# Edit menu, undo, quotation, conversion and the date-time stamp.
target_sources(q7gui PRIVATE
  src/commands/editcommands.cpp
  src/commands/quotation.cpp
  src/commands/conversion.cpp
)

# Find and replace.
target_sources(q7gui PRIVATE
  src/find/findcommand.cpp
)

# File commands.
target_sources(q7gui PRIVATE
  src/commands/filecommands.cpp
)

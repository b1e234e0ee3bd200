#pragma once

// The main window on big sheets, as ratios to floors measured in the same run.
int windowBench(int argc, char **argv);

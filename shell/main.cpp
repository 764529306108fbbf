// The program entry: everything happens in RunProgram.
#include "shell/program_start.h"

int main(int argc, char** argv) { return RunProgram(argc, argv); }

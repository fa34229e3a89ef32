#include "app/program.h"

int main(int argc, char** argv) { return q30x::runProgram(argc, argv); }

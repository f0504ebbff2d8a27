// The program: the main window with no handlers bound yet.
#include "monitor/qt/program_main.h"

int main(int argc, char** argv) { return kelvorat::ProgramMain(argc, argv, {}); }

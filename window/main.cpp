#include "Programmstart.h"

int main(int argc, char** argv) { return tovik::ProgrammStarten(argc, argv); }

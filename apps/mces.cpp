#include "mces/vornmain.h"

int main(int argc, char** argv) { return graphmat::vornmain(argc, argv); }

// The pause asks at a terminal only.
#include "graph/ConsolePause.h"

#include <unistd.h>

#include <iostream>
#include <string>

namespace graphmat {

void pauseConsole() {
    if (!isatty(STDIN_FILENO)) return;
    std::cout << "Press Enter to continue . . ." << std::flush;
    std::string ignored;
    std::getline(std::cin, ignored);
}

}  // namespace graphmat

// The console pause: a wait for the user at a terminal, which batch runs
// and tests never meet.
#pragma once

namespace graphmat {

// Waits for a line on standard input when it is a terminal; returns at once
// otherwise, so batch runs and tests never block.
void pauseConsole();

}  // namespace graphmat

#include "graph/platform.h"

#include <ctime>
#include <iostream>
#include <unistd.h>

namespace graphmat {

namespace {
std::uint32_t g_state = 1;
long g_draws = 0;
double g_clockOverride = -1.0;
bool g_outputFailed = false;
}  // namespace

void srand15(unsigned seed) {
    g_state = seed;
    g_draws = 0;
}

int rand15() {
    g_state = g_state * 214013u + 2531011u;
    ++g_draws;
    return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

std::uint32_t randomState() { return g_state; }

void setRandomState(std::uint32_t state) { g_state = state; }

long randomDraws() { return g_draws; }

double clockMs() {
    if (g_clockOverride >= 0.0) return g_clockOverride;
    return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

void setClockOverride(double ms) { g_clockOverride = ms; }

bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool openForWriting(std::ofstream& out, const std::string& path, bool append) {
    out.open(path, std::ios::out | (append ? std::ios::app : std::ios::trunc));
    if (out.is_open()) return true;
    std::cerr << "Cannot write " << path << "\n";
    g_outputFailed = true;
    return false;
}

bool closeWritten(std::ofstream& out, const std::string& path) {
    if (!out.is_open()) return false;
    out.close();
    if (!out.fail()) return true;
    std::cerr << "Cannot write " << path << "\n";
    g_outputFailed = true;
    return false;
}

bool outputFailed() { return g_outputFailed; }

void resetOutputFailed() { g_outputFailed = false; }

void reportMissingInput(const std::string& path) { std::cerr << "Cannot read " << path << "\n"; }

void pauseConsole() {
    if (!isatty(STDIN_FILENO)) return;
    std::cout << "Press Enter to continue . . ." << std::flush;
    std::string ignored;
    std::getline(std::cin, ignored);
}

}  // namespace graphmat

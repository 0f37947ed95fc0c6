// Conventions shared by every entry point of apps/ and the programs' own
// messages: numeric switch values that are read whole and checked, the
// usage faults, and the guard around a program's body that turns tables too
// large for the machine, failed allocations and a console that could not be
// written into a message and an exit status. (Whether a graph file read can
// be used, and the verdicts of readings: graph/GraphReading.h.)
#pragma once

#include <string>

#include "graph/GraphReading.h"

namespace graphmat {

// The value of a numeric switch, checked: the whole text must read as a
// finite number (an int switch: a whole number within the range of int; a
// float switch: finite as a float too). False, value unchanged, otherwise.
bool parseSwitchValue(const std::string& text, double& value);
bool parseSwitchValue(const std::string& text, float& value);
bool parseSwitchValue(const std::string& text, int& value);
// A whole word written as a decimal integer (no fraction, no exponent)
// within [low, high]; false, value unchanged, for anything else.
bool readWholeNumber(const std::string& word, long low, long high, int& value);

// True when `text` reads as a whole number (as parseSwitchValue reads it,
// "3e10" included) that lies outside [low, high].
bool wholeNumberOutOfRange(const std::string& text, double low, double high);
// "out of range: a whole number from LOW to HIGH".
std::string outOfRangeText(long low, long high);
// Why a parameter `name` refuses `word` where a whole number of int is
// expected: "NAME must be a whole number, not 'WORD'", or, for a whole
// number beyond int, "NAME is out of range: a whole number from ... to ...,
// not 'WORD'".
std::string wholeNumberRefusal(const std::string& name, const std::string& word);

// The reader modes a graph file can be read in: 0 to LAST_READER_MODE.
constexpr int LAST_READER_MODE = 12;
// Why the value of a reader-mode switch (-h) is refused when it reads as a
// whole number that names no reader mode (beyond 0-12, beyond int too):
// `Switch -h: "13" is out of range: a whole number from 0 to 12 (a reader
// mode)`; empty for a reader mode and for text that is no whole number,
// which each program names in its own words.
std::string readerModeRefusal(const std::string& value);

// Why the value of switch -letter is refused: `Switch -d: "nan" is not a
// number this switch takes`; a whole-number switch (`wholeNumber`) given a
// whole number beyond int is said to be out of range, with the range.
std::string badSwitchText(char letter, const std::string& value, bool wholeNumber = false);
// Writes badSwitchText on standard error (one line).
void reportBadSwitch(char letter, const std::string& value, bool wholeNumber = false);
// Names on standard error, after a program's usage lines, what was wrong
// with its command line, and where every switch is listed: `FAULT; PROGRAM
// --help lists every switch` (one line). A program of arguments rather
// than switches says what its help tells instead (`helpTells`).
void reportUsageFault(const std::string& program, const std::string& fault,
                      const std::string& helpTells = "lists every switch");

// Flushes the standard output (the stream and the C file beneath it); true
// when anything written to it was lost (a full disk, /dev/full).
bool standardOutputFailed();
// The status a program ends with: a standard output that could not be
// written is named on standard error, and a run that would end with 0 ends
// with 2 instead; other statuses stand.
int finishStatus(int status);
// Ends the process at once with finishStatus(status), every stream flushed,
// without destroying the run's objects.
[[noreturn]] void exitWithoutTeardown(int status);

// True when the first argument asks for the program's help: "--help" or
// "-help" (a later argument of that text is a value like any other).
bool asksForHelp(int argc, char** argv);
// Writes a program's help text to standard output and gives status 0; the
// entry wrapper then turns it into 2 when the standard output failed.
int printHelp(const std::string& text);

// Runs `body`: a table that cannot fit in memory or a file that cannot fit
// on its disk (CapacityError), an input that cannot be used (InputError: a
// device, a failed read) or an allocation that fails ends the run with a
// message on standard error and status 1; a body that ends with 0 while
// the standard output could not be written ends with status 2
// (finishStatus). Before the body, standard descriptors closed at start are
// taken on the null device (so that no file of the run takes a console's
// number; the console still fails), and a console pipe closed early fails
// its writes instead of ending the process.
int runEntryPoint(int (*body)(int, char**), int argc, char** argv);

}  // namespace graphmat

#pragma once
// The program's start as `tovik` runs it: its name and version, the command line, the window
// shown maximized, the file named on the command line loaded once the window is up, and the
// event loop. main calls it, and so does the start-up benchmark, so both start alike.

#include <functional>

class QWidget;

namespace tovik {

// Help and version are answered on the terminal and a wrong call ends the program with
// status 2. `vorDemZeigen` sees the window just before it is shown. Returns the exit status.
int ProgrammStarten(int argc, char** argv, const std::function<void(QWidget&)>& vorDemZeigen = {});

}  // namespace tovik

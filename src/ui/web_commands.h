// The main window's commands that lead out of it: converter finder (16), manual (18), feedback
// mail (21), homepage (22), update check (23), About (24), and the update check at start.
#pragma once

class MainWindow;

// Sets the window's handlers for those commands and its start-up update check. A handler set
// later for the same command replaces these.
void installWebCommands(MainWindow& window);

// ve17-archive without a command: the archive window, in the program's folder the recorder uses
// or the one --folder names.
#pragma once

#include <QString>
#include <QStringList>

namespace archive {

// The program's arguments after its name.
QStringList ArgumentsOf(int argc, char** argv);

// True when the arguments call for the window: none, or only "--folder DIR" (or
// "--folder=DIR"), whose DIR goes to `folder`.
bool IsWindowCall(const QStringList& arguments, QString* folder);

// Shows the window until it is closed; the program's exit status. Without a display to show it
// on, or with a folder that is not there, it says so and ends as a wrong call does.
int RunArchiveWindow(int& argc, char** argv, const QString& folder);

}  // namespace archive

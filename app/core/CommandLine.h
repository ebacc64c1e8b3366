#pragma once
// The viewer's command line:
//   vizo-viewer [--port PATH] [--simulate [--edition summit|ridge|valley] [--baud N] [--control PATH]]
//               [--camera NAME] [--verbose]
// Parsing has no side effects; main() prints the usage or the error and picks
// the exit code (2 for a bad command line).
#include <QString>
#include <QStringList>

struct CommandLineOptions
{
    QString port;                    // serial device to open instead of discovery
    bool simulate = false;           // run the virtual device in-process
    int simulatedEdition = 0;        // edition code of the virtual device (0 Summit, 1 Valley, 2 Ridge)
    int simulatedImages = 12;        // files on the virtual device's card
    int simulatedOcrTexts = 5;
    int simulatedNameLength = 0;     // 0: short file names
    int simulatedBaud = 0;           // the virtual device's link rate; 0: no wire time
    QString simulatedControl;        // socket for the virtual device's control commands
    QString cameraName = QStringLiteral("FX3");
    bool help = false;
    bool version = false;            // print the program's version
    bool listHotKeys = false;        // print the hot keys and their combinations
    bool verbose = false;            // show every diagnostic line of the vizo.* categories
    bool exitOnUnplug = false;       // end after the camera goes away instead of waiting for it
    QString platform;                // Qt's --platform, which QApplication itself reads
    QString error;                   // non-empty when the command line is bad

    bool ok() const { return error.isEmpty(); }
};

namespace CommandLine {

CommandLineOptions parse(const QStringList &arguments);
QString usage();
// "vizo-viewer 1.2.3" and a newline.
QString versionText();

// Edition names as the command line spells them; -1 for an unknown name.
int editionCodeFromName(const QString &name);

} // namespace CommandLine

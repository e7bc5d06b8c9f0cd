#pragma once
// Start-up steps that need no window: the built-in resources, the argument
// store and the translation.

class QCoreApplication;
class QString;
class QTranslator;

namespace korvane {

class ArgList;

// Registers the built-in translation resource; the static library's resource
// object is only linked in when something refers to it.
void initKorvaneResources();
// Fills args from the configuration file named by -c ("config.cfg" when
// absent), then from the command line, so that an option on the command line
// beats the same name in the configuration file. False, and why, when the
// configuration file cannot be read.
bool readArgs(ArgList &args, int argc, char **argv, QString *why = nullptr);
// readArgs into appArgs.
bool fillAppArgs(int argc, char **argv, QString *why = nullptr);
// Unless -e was given: loads the built-in Japanese translation into
// translator and Qt's own Japanese texts (its file dialogs and message boxes)
// into qtTranslator, and installs both. Returns whether the built-in
// translation was loaded.
bool installTranslation(QCoreApplication &app, QTranslator &translator, QTranslator &qtTranslator);

} // namespace korvane

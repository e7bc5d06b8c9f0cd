#pragma once
// Start-up steps that need no window: the built-in resources, the argument
// store and the translation.

class QCoreApplication;
class QTranslator;

// Registers the built-in translation resource; the static library's resource
// object is only linked in when something refers to it.
void initKorvaneResources();
// Fills appArgs from the command line, then from the configuration file named
// by -c ("config.cfg" when absent), so configuration lines override options.
void fillAppArgs(int argc, char **argv);
// Unless -e was given: loads the built-in Japanese translation into
// translator and Qt's own Japanese texts (its file dialogs and message boxes)
// into qtTranslator, and installs both. Returns whether the built-in
// translation was loaded.
bool installTranslation(QCoreApplication &app, QTranslator &translator, QTranslator &qtTranslator);

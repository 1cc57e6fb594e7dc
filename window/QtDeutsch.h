#pragma once
// Qt's own texts in German, as the program speaks: the file and printer dialogs with the
// question before a file is replaced, the menu of a text field, the actions a screen reader
// names, and the command line's help and messages. Loaded when first needed rather than
// before the window is shown: the window itself has none of them.

namespace tovik {

// Loads and installs Qt's German texts into the running application, once.
void QtDeutschLaden();

// From now on, the first context menu or a screen reader coming up loads them as well.
void QtDeutschBeiBedarf();

}  // namespace tovik

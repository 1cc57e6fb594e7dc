#pragma once
// The window's way of showing the program's messages.

#include <string>

namespace tovik {

// A modal message box with the text, the caption, no icon and an OK button only; returns
// when the user has closed it. Installed as the Meldung hook by the main window.
void MeldungsfensterZeigen(const std::string& text, const std::string& titel);

}  // namespace tovik

#pragma once
// The one way the lower layers talk to the user: a modal message with an OK button.
// The window installs a hook that shows a message box; tests install a recorder.
// Texts are UTF-8.

#include <functional>
#include <string>

namespace tovik {

using MeldungsHook = std::function<void(const std::string& text, const std::string& titel)>;

inline constexpr const char* kProgrammTitel = "Tovik";

// Installs the hook and returns the previous one. An empty hook restores the default,
// which writes the message to stderr.
MeldungsHook SetzeMeldungsHook(MeldungsHook hook);

// Shows the message and returns when the user has closed it.
void Meldung(const std::string& text, const std::string& titel = kProgrammTitel);

}  // namespace tovik

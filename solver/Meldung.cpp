#include "Meldung.h"

#include <cstdio>
#include <utility>

namespace tovik {
namespace {

void AufStderr(const std::string& text, const std::string& titel) {
    std::fprintf(stderr, "%s: %s\n", titel.c_str(), text.c_str());
}

MeldungsHook& AktuellerHook() {
    static MeldungsHook hook = AufStderr;
    return hook;
}

}  // namespace

MeldungsHook SetzeMeldungsHook(MeldungsHook hook) {
    if (!hook) hook = AufStderr;
    return std::exchange(AktuellerHook(), std::move(hook));
}

void Meldung(const std::string& text, const std::string& titel) {
    // Copy first: a hook may replace itself while it runs.
    MeldungsHook hook = AktuellerHook();
    hook(text, titel);
}

}  // namespace tovik

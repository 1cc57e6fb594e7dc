# Debian's usual hardening for what ships: the Release build. The sanitizer and fuzzing
# builds keep their own instrumentation and are left alone.
if(NOT TOVIK_SANITIZE AND NOT TOVIK_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(tovik_release "$<CONFIG:Release>")
  add_compile_options(
    # Checked libc calls need the optimiser, which Release has.
    "$<${tovik_release}:-D_FORTIFY_SOURCE=2;-fstack-protector-strong;-Wformat;-Werror=format-security>"
    # Position-independent code for a PIE. Qt, built with reduce-relocations, demands -fPIC
    # rather than -fPIE (function addresses must compare equal across its libraries); the
    # executable is a PIE all the same, linked with -pie.
    "$<${tovik_release}:-fPIC>")
  add_link_options("$<${tovik_release}:-pie;-Wl,-z,relro,-z,now>")
endif()

// The library's default handler for an exception nobody caught prints the
// exception's type, demangled, on the standard error, then aborts. This
// program has no console to print on, and the demangler alone is some 45 KB
// of the release: the handler here aborts at once, as that one does after
// printing. Linked into each exe itself, so the library's is never pulled in.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

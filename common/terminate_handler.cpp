// The end of a program on an unhandled C++ exception, linked into both executables.
#include <cstdlib>

// The library's default handler prints the exception's demangled type to stderr before it
// aborts. A GUI program has no stderr to show it on, and the demangler it needs is the
// largest piece of the standard library in the executables. This one only aborts, as the
// default does after printing; defining it here keeps the library's version out of the link.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

// The argument vector Qt starts from.
#include "qt_startup.h"

namespace {

// Stands in for a missing argv[0] (a program may be started with an empty vector).
char kProgramName[] = "glouto";

} // namespace

QtArguments::QtArguments(int argc, char* argv[])
    : m_argv{argc > 0 && argv[0] ? argv[0] : kProgramName, nullptr}
{
}

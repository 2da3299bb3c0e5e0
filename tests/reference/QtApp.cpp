// Image decoding and the SQLite driver need an application object; one lives for the whole run.
#include <QGuiApplication>
#include <clocale>
#include <cstdlib>

namespace {
int g_argc = 1;
char g_arg0[] = "reference_tests";
char* g_argv[] = {g_arg0, nullptr};
const bool g_offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
QGuiApplication g_app(g_argc, g_argv);
const bool g_cLocale = std::setlocale(LC_NUMERIC, "C") != nullptr;
} // namespace

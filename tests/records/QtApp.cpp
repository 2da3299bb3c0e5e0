// Qt Sql loads its SQLite driver through the application object; one lives for the whole test run.
#include <QCoreApplication>
#include <clocale>

namespace {
int g_argc = 1;
char g_arg0[] = "records_tests";
char* g_argv[] = {g_arg0, nullptr};
QCoreApplication g_app(g_argc, g_argv);
const bool g_cLocale = std::setlocale(LC_NUMERIC, "C") != nullptr;
} // namespace

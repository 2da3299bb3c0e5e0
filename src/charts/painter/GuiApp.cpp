#include "charts/painter/GuiApp.h"

#include <QGuiApplication>
#include <clocale>
#include <cstdlib>

namespace oruk {

void EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "oruk";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    // The application object takes the locale from the environment; numbers stay with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace oruk

#include <QApplication>
#include <QLabel>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Stored numbers always use a decimal point, whatever the desktop's locale says.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Sorvan Kv-50");
    QLabel placeholder("ORUK Kv-50");
    placeholder.show();
    return app.exec();
}

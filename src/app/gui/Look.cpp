#include "app/gui/Look.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>
#include <cmath>

// The artwork is compiled into the static library; a static library's resources are only
// linked in when something names them.
static void InitArtwork() {
    static const bool done = [] {
        Q_INIT_RESOURCE(oruk);
        return true;
    }();
    (void)done;
}

namespace oruk::gui {

void ApplyWorkstationLook(QApplication& app) {
    InitArtwork();
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    // Chinese texts need a CJK face; Latin texts keep a Latin face for digits and letters.
    QFont font = app.font();
    QStringList families;
    const QStringList installed = QFontDatabase::families();
    for (const char* f :
         {"Noto Sans CJK TC", "Noto Sans TC", "Noto Sans CJK JP", "AR PL UMing TW", "WenQuanYi Zen Hei"})
        if (installed.contains(QString::fromLatin1(f)))
            families << QString::fromLatin1(f);
    families << font.family();
    font.setFamilies(families);
    // The desktop's size, but never below a size at which CJK strokes stay legible.
    if (font.pointSizeF() < 10.5)
        font.setPointSizeF(10.5);
    app.setFont(font);
}

static QStyle::StandardPixmap FallbackFor(const QString& name) {
    struct Pair {
        const char* name;
        QStyle::StandardPixmap pixmap;
    };
    static const Pair pairs[] = {
        {"measure", QStyle::SP_MediaPlay},
        {"explain", QStyle::SP_FileDialogInfoView},
        {"programs", QStyle::SP_FileDialogDetailedView},
        {"calibrate", QStyle::SP_BrowserReload},
        {"records", QStyle::SP_DirOpenIcon},
        {"files", QStyle::SP_DriveHDIcon},
        {"userfunc", QStyle::SP_CommandLink},
        {"exit", QStyle::SP_DialogCloseButton},
        {"save", QStyle::SP_DialogSaveButton},
        {"browse", QStyle::SP_DirOpenIcon},
        {"test", QStyle::SP_MediaPlay},
        {"question", QStyle::SP_MessageBoxQuestion},
        {"caution", QStyle::SP_MessageBoxWarning},
        {"important", QStyle::SP_MessageBoxInformation},
        {"tray-online", QStyle::SP_DriveNetIcon},
        {"tray-offline", QStyle::SP_MessageBoxCritical},
        {"app", QStyle::SP_ComputerIcon},
    };
    for (const auto& p : pairs)
        if (name == QLatin1String(p.name))
            return p.pixmap;
    return QStyle::SP_FileIcon;
}

static QString ArtworkPath(const QString& name) {
    InitArtwork();
    for (const QString& dir : {QStringLiteral(":/icons/"), QStringLiteral(":/pictures/")})
        for (const QString& ext : {QStringLiteral(".svg"), QStringLiteral(".png")}) {
            const QString path = dir + name + ext;
            if (QFile::exists(path))
                return path;
        }
    return {};
}

QIcon WorkstationIcon(const QString& name) {
    const QString path = ArtworkPath(name);
    if (!path.isEmpty())
        return QIcon(path); // SVG icons render sharp at every device pixel ratio
    return QApplication::style()->standardIcon(FallbackFor(name));
}

QPixmap WorkstationPicture(const QString& name, QSize logicalSize, const QWidget* forWidget) {
    const qreal dpr = forWidget ? forWidget->devicePixelRatioF() : qApp->devicePixelRatio();
    const QString path = ArtworkPath(name);
    QPixmap pm;
    if (path.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer svg(path);
        // Fit the picture into the box without distorting it.
        QSize drawn = svg.defaultSize().isEmpty()
                          ? logicalSize
                          : svg.defaultSize().scaled(logicalSize, Qt::KeepAspectRatio);
        pm = QPixmap(drawn * dpr);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        svg.render(&p);
    } else {
        pm = WorkstationIcon(name).pixmap(logicalSize, dpr);
        if (pm.size() != logicalSize * dpr)
            pm = pm.scaled(logicalSize * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    pm.setDevicePixelRatio(dpr);
    return pm;
}

double FadeOpacity(qint64 elapsedMs, int durationMs) {
    if (elapsedMs >= durationMs)
        return 0.0;
    const double alpha = std::round(double(durationMs - elapsedMs) / durationMs * 255.0);
    return alpha / 255.0;
}

void FadeOut(QWidget* window, int durationMs) {
    if (!window || !window->isVisible())
        return;
    // Platforms without window opacity (offscreen) still take the same time.
    const QString platform = QGuiApplication::platformName();
    const bool opacity = platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(15);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        const qint64 elapsed = clock.elapsed();
        if (opacity)
            window->setWindowOpacity(FadeOpacity(elapsed, durationMs));
        if (elapsed >= durationMs)
            loop.quit();
    });
    tick.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace oruk::gui

// One PNG with every generated picture and every icon, to look the artwork over at a glance.
//
//   oruk_contact_sheet <Data folder> <artwork folder> <icons folder> <output.png>

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Section {
    QString title;
    QStringList files;
    QSize tile;
    int columns;
};

constexpr int kSheetWidth = 1400;
constexpr int kMargin = 16;
constexpr int kCaption = 16;

QImage Load(const QString& file, QSize box) {
    if (file.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer svg(file);
        QImage image(box, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        if (svg.isValid()) {
            QPainter p(&image);
            QSizeF size = svg.defaultSize().scaled(box, Qt::KeepAspectRatio);
            svg.render(
                &p,
                QRectF(QPointF((box.width() - size.width()) / 2, (box.height() - size.height()) / 2), size));
        }
        return image;
    }
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.size().width() <= box.width() && image.size().height() <= box.height()
               ? image
               : image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

int SectionHeight(const Section& s) {
    const int rows = (static_cast<int>(s.files.size()) + s.columns - 1) / s.columns;
    return 30 + rows * (s.tile.height() + kCaption + 8);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: oruk_contact_sheet <data dir> <artwork dir> <icons dir> <out.png>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const QDir data(QString::fromLocal8Bit(argv[1])), artwork(QString::fromLocal8Bit(argv[2])),
        icons(QString::fromLocal8Bit(argv[3]));

    std::vector<Section> sections;
    for (const char style : {'P', 'G', 'C'}) {
        QStringList files;
        for (const char* group : {"Lh", "Rh", "Lf", "Rf"})
            for (int d = 1; d <= 6; ++d)
                files << data.filePath(
                    QStringLiteral("%1%2%3.bmp").arg(style).arg(QLatin1String(group)).arg(d));
        sections.push_back({QStringLiteral("Point pictures, style %1").arg(style), files, {100, 100}, 12});
    }
    QStringList diagrams;
    for (const char* code : {"LU", "PC", "HT", "SI", "TE", "LI", "SP", "LR", "KI", "BL", "GB", "ST"})
        diagrams << artwork.filePath(QStringLiteral("%1.png").arg(QLatin1String(code)));
    sections.push_back({QStringLiteral("Meridian diagrams"), diagrams, {224, 264}, 6});
    sections.push_back(
        {QStringLiteral("Legend and energy balance background"),
         {icons.filePath(QStringLiteral("legend.svg")), data.filePath(QStringLiteral("mebkmg.msi"))},
         {445, 300},
         2});
    QStringList svgs;
    for (const QFileInfo& f : icons.entryInfoList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name))
        svgs << f.absoluteFilePath();
    sections.push_back({QStringLiteral("Icons (48 px)"), svgs, {48, 48}, 16});
    sections.push_back({QStringLiteral("Icons (24 px)"), svgs, {24, 24}, 24});

    int height = kMargin;
    for (const Section& s : sections)
        height += SectionHeight(s);
    QImage sheet(kSheetWidth, height + kMargin, QImage::Format_RGB32);
    sheet.fill(QColor(0xf4, 0xf4, 0xf2));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    QFont titleFont(QStringLiteral("Noto Sans CJK TC"));
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    QFont captionFont(QStringLiteral("Noto Sans CJK TC"));
    captionFont.setPixelSize(10);

    int missing = 0;
    int y = kMargin;
    for (const Section& s : sections) {
        p.setFont(titleFont);
        p.setPen(QColor(0x22, 0x33, 0x44));
        p.drawText(kMargin, y + 20, s.title);
        y += 30;
        const int cellW = (kSheetWidth - 2 * kMargin) / s.columns;
        for (int i = 0; i < s.files.size(); ++i) {
            const int col = i % s.columns, row = i / s.columns;
            const QRect cell(kMargin + col * cellW, y + row * (s.tile.height() + kCaption + 8), cellW,
                             s.tile.height() + kCaption);
            const QImage image = Load(s.files[i], s.tile);
            if (image.isNull()) {
                ++missing;
                p.fillRect(QRect(cell.topLeft(), s.tile), QColor(0xff, 0x40, 0x40));
            } else {
                p.drawImage(QPoint(cell.left() + (cellW - image.width()) / 2, cell.top()), image);
            }
            p.setFont(captionFont);
            p.setPen(QColor(0x55, 0x55, 0x55));
            p.drawText(QRect(cell.left(), cell.top() + s.tile.height() + 2, cellW, kCaption),
                       Qt::AlignHCenter, QFileInfo(s.files[i]).completeBaseName());
        }
        y += SectionHeight(s) - 30;
    }
    p.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[4]), "png")) {
        std::fprintf(stderr, "oruk_contact_sheet: cannot write %s\n", argv[4]);
        return 1;
    }
    if (missing > 0)
        std::fprintf(stderr, "oruk_contact_sheet: %d pictures missing or unreadable (red tiles)\n", missing);
    return missing > 0 ? 1 : 0;
}

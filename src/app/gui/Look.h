#pragma once

#include <QIcon>
#include <QString>

class QApplication;
class QWidget;

namespace oruk::gui {

// Style, palette and the CJK font for every window of the program.
void ApplyWorkstationLook(QApplication& app);

// An icon of the program's artwork (":/icons/<name>.svg"); when the artwork lacks it, the
// nearest standard icon of the style, so a tool bar button never shows empty.
QIcon WorkstationIcon(const QString& name);

// A picture of the program's artwork scaled for the widget's device pixel ratio.
QPixmap WorkstationPicture(const QString& name, QSize logicalSize, const QWidget* forWidget);

// Opacity for a fade-out that started `elapsedMs` ago and lasts `durationMs`: the window's
// alpha value round((start + duration - now) / duration * 255), as a 0..1 opacity.
double FadeOpacity(qint64 elapsedMs, int durationMs);

// Runs the fade-out on a top-level window (blocking for `durationMs`, repainting meanwhile).
void FadeOut(QWidget* window, int durationMs);

} // namespace oruk::gui

#pragma once

#include "reference/MeridianReference.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QScrollArea;
class QTabWidget;
class QToolButton;

namespace oruk::gui {

// The meridian explanation window: the twelve meridians' attributes, points, texts and diagram.
class TMeadv : public QDialog {
    Q_OBJECT
public:
    // legendFile: the 445 x 20 legend picture shown under the diagram.
    TMeadv(MeridianReferenceSource source, const QString& legendFile, QWidget* parent = nullptr);

    // Shows meridian i (a click on list line i). A missing row leaves the window as it was.
    void ChooseMeridian(int meridian);
    int ShownMeridian() const { return shown_; }

    QListWidget* ListBox1 = nullptr;
    QLabel* Value[9] = {}; // Value[1..8]: DtEA1..DtEA5, DtPot1..DtPot3
    QTabWidget* PageControl1 = nullptr;
    QPlainTextEdit* Memo[6][4] = {}; // Memo[page 2..5][1 upper, 2 middle, 3 lower]
    QScrollArea* DiagramArea = nullptr;
    QLabel* Diagram = nullptr;
    QLabel* Legend = nullptr;
    QLabel* StatusBar1 = nullptr;
    QToolButton* LeaveButton = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Fill(const ReferenceTopic& row);

    MeridianReferenceSource source_;
    int shown_ = 0;
};

} // namespace oruk::gui

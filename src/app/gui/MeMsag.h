#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace oruk::gui {

// The message dialog: types 1-3 ask yes/no, 4-6 inform; caption and picture by type.
class TMeMsag : public QDialog {
    Q_OBJECT
public:
    TMeMsag(int msgType, const QString& msgText, QWidget* parent = nullptr);

    bool MsgResult() const { return msgResult_; }

    static QString CaptionFor(int msgType);
    static constexpr int kFadeMs = 300;

    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Image1 = nullptr;       // question
    QLabel* Image2 = nullptr;       // caution
    QLabel* Image3 = nullptr;       // important
    QPushButton* Button1 = nullptr; // 是
    QPushButton* Button2 = nullptr; // 否
    QPushButton* Button3 = nullptr; // 確  定

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    bool msgResult_ = false;
    bool closing_ = false;
    QTimer* repaint_ = nullptr;
};

// Shows the message dialog modally and returns its result (true for 是 / 確  定).
bool ShowMsg(QWidget* parent, int msgType, const QString& msgText);

} // namespace oruk::gui

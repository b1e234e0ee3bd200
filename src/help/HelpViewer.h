#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

// The help window: the manual q7Zibo.hlp in a browser with back and forward buttons. It is
// modeless, so the user can read beside the sheet, and follows the program's dialog idiom (see
// find/FindDialog.h): its controller owns it through a QPointer and a closed viewer deletes
// itself.
class HelpViewer final : public QDialog {
    Q_OBJECT
public:
    struct Env {
        QString helpFile; // full path of q7Zibo.hlp
    };

    HelpViewer(Env env, QWidget *owner);

    // Loads the help file and shows its contents page; false (and nothing shown) when the file
    // cannot be read. Calling it again on an open viewer goes back to the contents page.
    bool showContents();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Env env_;
    QTextBrowser *browser_ = nullptr;
    QPushButton *backButton_ = nullptr;
    QPushButton *forwardButton_ = nullptr;
};

#pragma once

#include <QDialog>
#include <QPointer>

class Dialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TextBox;

// How the program's dialogs are built (FindDialog, DateDialog and the ones to come):
// - a nested Env holds everything the dialog works on (the text box, the settings store, the
//   dialog seam, callbacks into the main window) and is passed to the constructor;
// - results go back through getters or the Env's callbacks; a dialog never reaches into the
//   main window's widgets or changes the working directory;
// - controls are private, each with its C++ name as its object name;
// - controls are placed by layouts, except where fixed positions in twips are part of the
//   dialog's design;
// - its controller owns the dialog through a QPointer: a closed dialog deletes itself and the
//   next opening builds it afresh.

// The modeless find and replace dialog. It keeps no copy of the text: every search reads the
// text box afresh, so the user may edit the text between searches.
class FindDialog final : public QDialog {
    Q_OBJECT
public:
    struct Env {
        TextBox *editor = nullptr;  // the text searched; not owned
        Dialogs *dialogs = nullptr; // message boxes; not owned (none: nothing is shown)
        QWidget *owner = nullptr;   // the main window: parent, and where the focus goes after a match
        int ownerLeft = 0;          // the owner's position in twips when the dialog is opened
        int ownerTop = 0;
    };

    explicit FindDialog(const Env &env);

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void load();
    void returnFocus();
    void onFind();
    void onFindNext();
    void onReplace();
    void onReplaceAll();
    void onFindTextChanged();
    void setMatchButtonsEnabled(bool enabled);
    Qt::CaseSensitivity compareMode() const;
    void showMatch();
    void notFound();
    void message(const QString &prompt);

    Env env_;
    QPointer<TextBox> editor_;
    qsizetype foundPos_ = 0; // 1-based start of the last match; 0: the next search starts at the top
    bool focusReturned_ = false;

    QLabel *findLabel = nullptr;
    QLineEdit *findEdit = nullptr;
    QPushButton *findButton = nullptr;
    QPushButton *findNextButton = nullptr;
    QLabel *replaceLabel = nullptr;
    QLineEdit *replaceEdit = nullptr;
    QPushButton *replaceButton = nullptr;
    QPushButton *replaceAllButton = nullptr;
    QCheckBox *matchCaseCheck = nullptr;
    QPushButton *closeButton = nullptr;
};

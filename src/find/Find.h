#pragma once

#include <QDialog>
#include <QPointer>
#include <array>

class Dialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TextBox;

// How the program's dialogs are built (Find, frmDate and the ones to come):
// - a nested Env holds everything the dialog works on (the text box, the settings store, the
//   dialog seam, callbacks into the main window) and is passed to the constructor;
// - results go back through getters or the Env's callbacks; a dialog never reaches into the
//   main window's widgets or changes the working directory;
// - controls are placed by layouts, except where fixed positions in twips are part of the
//   dialog's design;
// - the main window owns the dialog through a QPointer: a closed dialog deletes itself and the
//   next opening builds it afresh.

// The modeless find and replace dialog. It keeps no copy of the text: every search reads the
// text box afresh, so the user may edit the text between searches.
class Find final : public QDialog {
    Q_OBJECT
public:
    struct Env {
        TextBox *text1 = nullptr;   // the text searched; not owned
        Dialogs *dialogs = nullptr; // message boxes; not owned (none: nothing is shown)
        QWidget *owner = nullptr;   // the main window: parent, and where the focus goes after a match
        int ownerLeft = 0;          // the owner's position in twips when the dialog is opened
        int ownerTop = 0;
    };

    explicit Find(const Env &env);

    void FindButton_Click();
    void FindNextButton_Click();
    void ReplaceButton_Click();
    void ReplaceAllButton_Click();
    void cmdCancel_Click();

    qsizetype foundPos = 0; // 1-based start of the last match; 0: the next search starts at the top

    std::array<QLabel *, 2> Label1{};
    QLineEdit *txtFind = nullptr;
    QPushButton *FindButton = nullptr;
    QPushButton *FindNextButton = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *ReplaceButton = nullptr;
    QPushButton *ReplaceAllButton = nullptr;
    QCheckBox *chkCase = nullptr;
    QPushButton *cmdCancel = nullptr;

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void Form_Unload();
    void txtFind_Change();
    Qt::CaseSensitivity compareMode() const;
    void showMatch();
    void notFound();
    void message(const QString &prompt);

    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;

    Env env_;
    QPointer<TextBox> text1_;
    bool unloaded_ = false;
};

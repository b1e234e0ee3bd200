#pragma once

#include "sheets/cp932variants.h"

#include <QCollator>
#include <QDateTime>
#include <QDialog>
#include <functional>

class Dialogs;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class SettingsStore;
class TextBox;

// Built as the dialog idiom in find/FindDialog.h describes.
// The modeless dialog that inserts a date or time in one of eighteen formats, or one of the
// user's boilerplate phrases, at the caret of the sheet.
class DateDialog final : public QDialog {
    Q_OBJECT
public:
    struct Env {
        TextBox *editor = nullptr;
        SettingsStore *settings = nullptr;
        Dialogs *dialogs = nullptr;
        QString programDir;
        QDateTime now;
        // Replaces the editor's selection as a rewrite: the whole text is kept for Undo first.
        std::function<void(const QString &)> insert;
    };

    DateDialog(Env env, QWidget *owner);

    void selectPage(int page);
    int currentPage() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void load();
    void onInsertDate();
    void onInsertPhrase();
    void onAddPhrase();
    void onRemovePhrase();
    void onClearPhrases();
    void onSavePosition();
    void onClose();
    void insertAndMaybeClose(const QString &text, bool close);
    void saveCloseOptions();
    void savePhrases();
    void addPhrase(const QString &phrase);
    QString phraseFilePath() const;
    QStringList phrases() const;

    Env env_;
    QCollator collator_;
    bool phrasesChanged_ = false;
    bool phraseFileUnreadable_ = false;  // then the list never saves over the file
    Cp932Variants phraseCodes_;          // the file's second CP932 codes, kept when it is saved

    QTabWidget *pages = nullptr;
    // "日付と時刻"
    QLabel *formatLabel = nullptr;
    QListWidget *formatList = nullptr;
    QPushButton *insertButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QCheckBox *closeAfterInsertCheck = nullptr;
    // "定型文字列"
    QLabel *phraseLabel = nullptr;
    QListWidget *phraseList = nullptr;
    QPushButton *insertPhraseButton = nullptr;
    QPushButton *phraseCancelButton = nullptr;
    QPushButton *addPhraseButton = nullptr;
    QPushButton *removePhraseButton = nullptr;
    QPushButton *clearPhrasesButton = nullptr;
    QCheckBox *closeAfterPhraseCheck = nullptr;
    // Below the pages.
    QPushButton *savePositionButton = nullptr;
    QPushButton *closeButton = nullptr;
};

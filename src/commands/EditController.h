#pragma once

#include "commands/conversions.h"

#include <QObject>

#include <map>

class QAction;
class SheetSession;
class WindowHost;
struct Holders;

// The Edit and conversion menus and the date-time stamp. The rewrites (quoting the selection or
// the clipboard, a conversion, the stamp, an inserted date or phrase) keep the whole text as the
// undo snapshot first and leave the box no undo step of its own, so that one Undo brings the
// text back; the box's own undo covers everything else.
class EditController final : public QObject {
    Q_OBJECT
public:
    // holders: the quote mark is read afresh by every command, so a change in the options
    // applies at once.
    EditController(WindowHost &host, SheetSession &sheets, const Holders &holders, QObject *parent = nullptr);

    QAction *undoAction() const { return undoAction_; }
    QAction *cutAction() const { return cutAction_; }
    QAction *copyAction() const { return copyAction_; }
    QAction *copyAllAction() const { return copyAllAction_; }
    QAction *pasteAction() const { return pasteAction_; }
    QAction *deleteAction() const { return deleteAction_; }
    QAction *quoteCopyAction() const { return quoteCopyAction_; }
    QAction *quotePasteAction() const { return quotePasteAction_; }
    QAction *quoteSelectionAction() const { return quoteSelectionAction_; }
    QAction *selectAllAction() const { return selectAllAction_; }
    QAction *conversionAction(Conversions::Conversion conversion) const { return conversionActions_.at(conversion); }
    QList<QAction *> conversionActions() const;
    QAction *stampAction() const { return stampAction_; }

    // The toolbar's own buttons run these whatever the menu items' states.
    void cut();
    void copy();
    void paste();

    // A programmatic rewrite of the selection: keeps the whole text as the undo snapshot first.
    void rewriteSelection(const QString &text);
    // Once the box has an undo step of its own, an older snapshot would undo more than the last
    // edit: it goes.
    void applyUndoRule();
    bool boxCanUndo() const;
    bool clipboardHasText() const { return clipboardHasText_; }

private:
    void onUndo();
    void onCopyAll();
    void onDelete();
    void onQuoteCopy();
    void onQuotePaste();
    void onQuoteSelection();
    void onConvert(Conversions::Conversion conversion);
    void onStamp();

    WindowHost &host_;
    SheetSession &sheets_;
    const Holders &holders_;
    bool clipboardHasText_ = false;  // kept by the clipboard's change signal
    QAction *undoAction_, *cutAction_, *copyAction_, *copyAllAction_, *pasteAction_, *deleteAction_,
        *quoteCopyAction_, *quotePasteAction_, *quoteSelectionAction_, *selectAllAction_, *stampAction_;
    std::map<Conversions::Conversion, QAction *> conversionActions_;
};

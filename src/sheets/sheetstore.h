#pragma once

#include "sheets/textfile.h"

#include <QString>
#include <array>

// The seven sheets and their files: which sheet is current, the file each sheet has opened,
// whether the current sheet's text changed since it was loaded, and reading and writing the
// files. It knows no widget; the window hands it the text.
class SheetStore final {
public:
    static constexpr int SheetCount = 7;
    static inline const QString FirstSheetCaption = QStringLiteral("q7 Zibo q1");

    explicit SheetStore(QString programDir);

    const QString &programDir() const { return programDir_; }
    // A file name relative to the program directory made absolute; an absolute one unchanged.
    QString resolve(const QString &name) const;
    static QString sheetFileName(int sheet);  // "q3.txt"
    QString sheetFilePath(int sheet) const;

    // The current-sheet caption ("q7 Zibo q3"): its last character, and nothing else, says which
    // sheet is current. A change drops the undo snapshot: a snapshot of one sheet must never be
    // restored into another.
    const QString &Label2() const { return label2_; }
    void setLabel2(const QString &caption);
    // A caption stored at the last exit counts only when it names one of the seven sheets.
    void takeStoredLabel2(const QString &stored);
    int currentSheet() const;

    // The file the next read or write names (a sheet file, or an outside file being opened).
    const QString &strFileName() const { return strFileName_; }
    void setStrFileName(const QString &name) { strFileName_ = name; }

    // Whether the current sheet's text differs from what its file received.
    bool blnChanged() const { return blnChanged_; }
    void setBlnChanged(bool changed) { blnChanged_ = changed; }

    // The file opened into sheet 1..7 (full path, empty when none).
    const QString &lblRealFile(int sheet) const { return lblRealFile_.at(sheet - 1); }
    void setLblRealFile(int sheet, const QString &path) { lblRealFile_.at(sheet - 1) = path; }
    const QString &currentOpenedFile() const { return lblRealFile(currentSheet()); }

    // The whole text from just before the last rewrite of the current sheet; empty: none.
    const QString &strUndo() const { return strUndo_; }
    void setStrUndo(const QString &text) { strUndo_ = text; }

    // The CP932 codes of the file each sheet's text was read from, so that writing the text
    // back changes no code the user did not touch. Empty for a new text.
    const Cp932Variants &variants(int sheet) const { return variants_.at(sheet - 1); }
    void setVariants(int sheet, const Cp932Variants &variants) { variants_.at(sheet - 1) = variants; }

    // The file strFileName names, relative names taken from the program directory.
    QString filePath() const { return resolve(strFileName_); }
    // Writes text to the current sheet's own file; sheet files always have CR LF line ends.
    TextFile::WriteResult writeSheet(const QString &text) const;
    TextFile::WriteResult writeSheet(TextFile::TextPieces &text) const;

private:
    void Label2_Change();

    QString programDir_;
    QString label2_ = FirstSheetCaption;
    QString strFileName_;
    bool blnChanged_ = false;
    std::array<QString, SheetCount> lblRealFile_;
    QString strUndo_;
    std::array<Cp932Variants, SheetCount> variants_;
};

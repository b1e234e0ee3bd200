#pragma once

#include "sheets/textfile.h"

#include <QDialog>
#include <QStringView>
#include <array>

class QComboBox;

// The encodings the user can name, as the reopen menu and the save dialog list them.
struct EncodingChoice {
    QStringView caption;
    TextCodec::Encoding encoding;
};
extern const std::array<EncodingChoice, 6> EncodingChoices;

// Asks for the encoding and line ends a save writes in, right after the file was chosen.
// Enter is OK, Esc cancels, and a cancel writes nothing.
class SaveFormDialog final : public QDialog {
    Q_OBJECT
public:
    // form: what the choice starts from (the sheet's encoding, the file's line ends).
    explicit SaveFormDialog(const TextFile::FileForm &form, QWidget *parent = nullptr);

    // The choice. An encoding left at the start's family keeps the start's byte-order mark, or
    // its absence: a UTF-8 file with a BOM stays so.
    TextFile::FileForm form() const;

private:
    TextFile::FileForm start_;
    QComboBox *encodingBox_;
    QComboBox *lineEndBox_;
};

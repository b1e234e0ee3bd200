#include "commands/SaveFormDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

using TextCodec::Encoding;
using TextCodec::LineEnds;

const std::array<EncodingChoice, 6> EncodingChoices = {{
    {u"Shift_JIS (CP932)", Encoding::Cp932},
    {u"EUC-JP", Encoding::EucJp},
    {u"JIS (ISO-2022-JP)", Encoding::Iso2022Jp},
    {u"UTF-8", Encoding::Utf8},
    {u"UTF-16LE", Encoding::Utf16Le},
    {u"UTF-16BE", Encoding::Utf16Be},
}};

namespace {

// One entry per encoding the user names: with or without a byte-order mark is the same entry.
Encoding family(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Bom: return Encoding::Utf8;
    case Encoding::Utf16LeNoBom: return Encoding::Utf16Le;
    case Encoding::Utf16BeNoBom: return Encoding::Utf16Be;
    default: return encoding;
    }
}

constexpr std::array<std::pair<const char16_t *, LineEnds>, 3> LineEndChoices = {{
    {u"CR LF", LineEnds::CrLf},
    {u"LF", LineEnds::Lf},
    {u"CR", LineEnds::Cr},
}};

} // namespace

SaveFormDialog::SaveFormDialog(const TextFile::FileForm &form, QWidget *parent)
    : QDialog(parent)
    , start_(form)
    , encodingBox_(new QComboBox(this))
    , lineEndBox_(new QComboBox(this))
{
    setObjectName(QStringLiteral("saveFormDialog"));
    setWindowTitle(QStringLiteral("保存の形式"));
    encodingBox_->setObjectName(QStringLiteral("encodingBox"));
    lineEndBox_->setObjectName(QStringLiteral("lineEndBox"));
    for (const EncodingChoice &choice : EncodingChoices) {
        encodingBox_->addItem(choice.caption.toString());
        if (choice.encoding == family(form.encoding))
            encodingBox_->setCurrentIndex(encodingBox_->count() - 1);
    }
    for (const auto &[caption, ends] : LineEndChoices) {
        lineEndBox_->addItem(QString::fromUtf16(caption));
        if (ends == form.lineEnds)
            lineEndBox_->setCurrentIndex(lineEndBox_->count() - 1);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("ｷｬﾝｾﾙ"));
    // The combo boxes take no Enter of their own: it reaches OK.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("文字コード(&C):"), encodingBox_);
    layout->addRow(QStringLiteral("改行(&L):"), lineEndBox_);
    layout->addRow(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    encodingBox_->setFocus();
}

TextFile::FileForm SaveFormDialog::form() const
{
    const Encoding chosen = EncodingChoices.at(encodingBox_->currentIndex()).encoding;
    return {chosen == family(start_.encoding) ? start_.encoding : chosen,
            LineEndChoices.at(lineEndBox_->currentIndex()).second};
}

#pragma once

#include <QString>
#include <QStringView>

// Text on the clipboard uses LF line breaks (Qt turns them into the platform's own), while the
// text box's model uses CR LF.
namespace ClipboardText {

// CR LF becomes LF.
QString fromModel(QStringView text);
// A lone LF becomes CR LF; CR LF and a lone CR stay.
QString toModel(QStringView text);

}

#pragma once

#include <QString>
#include <QStringView>

// Quoting text line by line, as in replies to e-mail.
namespace Quoting {

// The source cut into lines at every CR LF and every lone CR (a lone LF is an ordinary
// character), each line prefixed with the mark exactly as given, joined with CR LF. A source
// that ends with a line break gives one more, empty, quoted line, so a quoted block of whole
// lines ends with the mark and the line after it reads as quoted too. One pass.
QString quote(QStringView source, QStringView mark);

}

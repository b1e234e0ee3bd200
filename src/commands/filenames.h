#pragma once

#include <QString>
#include <QStringList>

// Small helpers for file names: the title shown for a path, whether a file can be read, and the
// classic "text|pattern|text|pattern" filter list in the form Qt's file dialogs take.
namespace FileNames {

// The text up to, not including, its first NUL character; the whole text when it has none.
QString CutAtNull(const QString &text);

// The display title of a path: its last component. Empty for a path that ends in a separator.
QString FNameGet(const QString &path);

// True when path names a regular file that can be opened for reading. An empty path, a missing
// file and a directory give false. One trailing separator is removed from the caller's variable.
bool FileFind(QString &path);

// "ﾃｷｽﾄ ﾌｧｲﾙ(*.txt)|*.txt|..." as Qt name filters, one per display text, each ending in its
// patterns in parentheses. "*.*" becomes "*" so that names without a dot are listed as well.
QStringList toQtNameFilters(const QString &filter);

} // namespace FileNames

#pragma once

#include <QString>
#include <QStringList>

// The classic "text|pattern|text|pattern" filter list of the file dialogs in the form Qt's file
// dialogs take: one entry per display text, ending in its patterns in parentheses. "*.*"
// becomes "*" so that names without a dot are listed as well.
namespace FileFilter {

QStringList toQtNameFilters(const QString &filter);

}

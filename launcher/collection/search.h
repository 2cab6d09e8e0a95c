#pragma once
// The collector's search: which list names hold what was typed.

#include <QHash>
#include <QString>
#include <QStringList>

// What a text is compared by: its letters and digits, case folded; blanks
// and punctuation left out ("Mr. Do!" and "mr do" both give "mrdo").
QString search_key(const QString& text);

// The names of `names` whose search key holds that of `typed`, in order;
// all of them when `typed` has no letter or digit. `keys` holds each
// name's key once it has been made.
QStringList matching_names(const QStringList& names, const QString& typed,
                           QHash<QString, QString>& keys);

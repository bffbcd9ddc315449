#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

inline const QString kTagListFileName = QStringLiteral("TalvoEditTagList.txt");
inline const QString kTagSetFileName = QStringLiteral("TalvoEdit2ATagList.txt");

// Items of ComboBox1 and ComboBox2 when their files are missing.
QStringList builtInTagList();
QStringList builtInTagSets();

// The order the sorted lists keep: Japanese collation, case-insensitive,
// the same on every machine and locale.
bool pickListLess(const QString &a, const QString &b);
QStringList sortedPickList(QStringList items);
// Position after the last item that sorts before or equal to `item`.
int sortedInsertPosition(const QStringList &items, const QString &item);

// The remembered-index rule: k below the item count selects k (a negative
// k selects nothing), any other k selects item 0 if there is one.
int pickIndex(int k, int count);

// Replaces the combo's items by `items` sorted and selects by pickIndex.
void fillPickList(QComboBox *combo, const QStringList &items, int k);
QStringList pickListItems(const QComboBox *combo);

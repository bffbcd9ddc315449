#include "ui/picklist.h"

#include <QCollator>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>

QStringList builtInTagList()
{
    return {QStringLiteral("JCMNT1:コメント１"), QStringLiteral("JCMNT2:コメント２"), QStringLiteral("NAME:機器名"),
            QStringLiteral("NAME1:機器名１"), QStringLiteral("SENBAN:線番")};
}

QStringList builtInTagSets()
{
    return {QStringLiteral("I/Oコメント,PIN1,IOADRS,JCMNT1,JCMNT2"), QStringLiteral("機器,NAME,NAME1,SPEC,TYPE"),
            QStringLiteral("図枠IFS,CST,CST1,TITLE,TITLE1,DWGNO,REVNO,PAGEN,PAGEM,ENAM,EDATE,CNAM,CDATE,ANAM,ADATE"),
            QStringLiteral("図枠TTL,BITEM7,BITEM5,ZITEM2,ZITEM3,ZITEM1,ZSHEET,FILE3,ZITEM10,ZITEM9,"
                           "ZITEM8,BITEM2,ZITEM5,BITEM3,ZITEM6,BITEM4,ZITEM7,ZSEIHIN,PAGE"),
            QStringLiteral("線番,SENBAN")};
}

bool pickListLess(const QString &a, const QString &b)
{
    // One fixed Japanese collation, whatever the user's locale: "NAME:"
    // sorts before "NAME1:" as on Windows, kana and kanji in Japanese order.
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Japanese, QLocale::Japan)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a, b) < 0;
}

QStringList sortedPickList(QStringList items)
{
    std::stable_sort(items.begin(), items.end(), pickListLess);
    return items;
}

int sortedInsertPosition(const QStringList &items, const QString &item)
{
    return int(std::upper_bound(items.begin(), items.end(), item, pickListLess) - items.begin());
}

int pickIndex(int k, int count)
{
    if (k < count)
        return k < 0 ? -1 : k;
    return count > 0 ? 0 : -1;
}

void fillPickList(QComboBox *combo, const QStringList &items, int k)
{
    combo->clear();
    combo->addItems(sortedPickList(items));
    combo->setCurrentIndex(pickIndex(k, combo->count()));
    if (combo->currentIndex() < 0 && combo->isEditable())
        combo->setEditText(QString());
    // Show an entry from its start: the tag before the colon is what counts.
    if (QLineEdit *edit = combo->lineEdit())
        edit->setCursorPosition(0);
}

QStringList pickListItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

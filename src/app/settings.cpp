#include "app/settings.h"

#include "app/inidocument.h"

namespace {
const QString kMain = QStringLiteral("TalvoEdit");
const QString kTarget = QStringLiteral("Target");
}  // namespace

Settings readSettings(const IniDocument &ini, QPoint centred)
{
    Settings s;
    const Settings d;
    s.Left = ini.intValue(kMain, QStringLiteral("Left"), centred.x());
    s.Top = ini.intValue(kMain, QStringLiteral("Top"), centred.y());
    s.ProgID = ini.stringValue(kTarget, QStringLiteral("ProgID"), d.ProgID);
    s.Sort = ini.boolValue(kMain, QStringLiteral("Sort"), d.Sort);
    s.AttTag = ini.stringValue(kMain, QStringLiteral("AttTag"));
    s.AttTagIndex2 = ini.intValue(kMain, QStringLiteral("AttTagIndex2"), d.AttTagIndex2);
    s.Cursor = ini.boolValue(kMain, QStringLiteral("Cursor"), d.Cursor);
    s.AttTagIndex1 = ini.intValue(kMain, QStringLiteral("AttTagIndex1"), d.AttTagIndex1);
    s.Sentou = ini.boolValue(kMain, QStringLiteral("Sentou"), d.Sentou);
    s.UpperCase = ini.boolValue(kMain, QStringLiteral("UpperCase"), d.UpperCase);
    s.Enter = ini.boolValue(kMain, QStringLiteral("Enter"), d.Enter);
    s.ZoomCenter = ini.boolValue(kMain, QStringLiteral("ZoomCenter"), d.ZoomCenter);
    s.AttEnter = ini.boolValue(kMain, QStringLiteral("AttEnter"), d.AttEnter);
    s.AttEnterDown = ini.boolValue(kMain, QStringLiteral("AttEnterDown"), d.AttEnterDown);
    return s;
}

void writeSettings(IniDocument &ini, const Settings &s)
{
    ini.setInt(kMain, QStringLiteral("Left"), s.Left);
    ini.setInt(kMain, QStringLiteral("Top"), s.Top);
    ini.setValue(kTarget, QStringLiteral("ProgID"), s.ProgID);
    ini.setBool(kMain, QStringLiteral("Sort"), s.Sort);
    ini.setValue(kMain, QStringLiteral("AttTag"), s.AttTag);
    ini.setInt(kMain, QStringLiteral("AttTagIndex2"), s.AttTagIndex2);
    ini.setBool(kMain, QStringLiteral("Cursor"), s.Cursor);
    ini.setInt(kMain, QStringLiteral("AttTagIndex1"), s.AttTagIndex1);
    ini.setBool(kMain, QStringLiteral("Sentou"), s.Sentou);
    ini.setBool(kMain, QStringLiteral("UpperCase"), s.UpperCase);
    ini.setBool(kMain, QStringLiteral("Enter"), s.Enter);
    ini.setBool(kMain, QStringLiteral("ZoomCenter"), s.ZoomCenter);
    ini.setBool(kMain, QStringLiteral("AttEnter"), s.AttEnter);
    ini.setBool(kMain, QStringLiteral("AttEnterDown"), s.AttEnterDown);
}

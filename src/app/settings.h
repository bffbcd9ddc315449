#pragma once

#include <QPoint>
#include <QString>

class IniDocument;

// The values kept in the settings file, with their defaults when read.
struct Settings {
    int Left = 0;  // main window's outer left edge
    int Top = 0;
    QString ProgID = QStringLiteral("BricscadApp.AcadApplication");  // section "Target"
    bool Sort = true;                                                // CheckBox1
    QString AttTag;                                                  // text of ComboBox1; written, never applied
    int AttTagIndex2 = 0;                                            // ComboBox2
    bool Cursor = true;                                              // CheckBox2
    int AttTagIndex1 = 0;                                            // ComboBox1
    bool Sentou = false;                                             // CheckBox3
    bool UpperCase = true;                                           // CheckBox4
    bool Enter = true;                                               // CheckBox5
    bool ZoomCenter = false;                                         // CheckBox6
    bool AttEnter = true;                                            // CheckBox7
    bool AttEnterDown = true;                                        // CheckBox8
};

// Reads every key; a missing or malformed one takes its default, the
// position `centred` (the window centred on the primary screen).
Settings readSettings(const IniDocument &ini, QPoint centred);
// Writes all fourteen keys in their fixed order, changed or not.
void writeSettings(IniDocument &ini, const Settings &s);

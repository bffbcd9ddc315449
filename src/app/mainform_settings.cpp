// The main window's settings file and list files: read at creation,
// written at close.
#include "app/mainform.h"

#include "ui/messages.h"
#include "ui/picklist.h"
#include "app/inidocument.h"
#include "app/settings.h"
#include "cad/connection.h"
#include "ui/qstr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>

namespace {
const QString kTargetCadFileName = QStringLiteral("TargetCAD_APIVersion.txt");
}

QPoint TTalvoMainForm::centredPosition() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize s = screen->geometry().size();
    const QSize w = frameGeometry().size();
    // div truncates towards zero, as C++ integer division does.
    return {(s.width() - w.width()) / 2, (s.height() - w.height()) / 2};
}

Settings TTalvoMainForm::readSettingsFile() const
{
    const IniDocument ini = IniDocument::load(m_files.readPath(m_files.iniFileName()));
    return readSettings(ini, centredPosition());
}

void TTalvoMainForm::applySettings(const Settings &s)
{
    move(s.Left, s.Top);  // unchecked: a position off every screen stays
    cad::TargetProgID = fromQ(s.ProgID);
    CheckBox1->setChecked(s.Sort);
    CheckBox2->setChecked(s.Cursor);
    CheckBox3->setChecked(s.Sentou);
    CheckBox4->setChecked(s.UpperCase);
    CheckBox5->setChecked(s.Enter);
    CheckBox6->setChecked(s.ZoomCenter);
    CheckBox7->setChecked(s.AttEnter);
    CheckBox8->setChecked(s.AttEnterDown);
}

Settings TTalvoMainForm::currentSettings() const
{
    Settings s;
    s.Left = pos().x();
    s.Top = pos().y();
    s.ProgID = toQ(cad::TargetProgID);
    s.Sort = CheckBox1->isChecked();
    s.AttTag = ComboBox1->currentText();
    s.AttTagIndex2 = ComboBox2->currentIndex();
    s.Cursor = CheckBox2->isChecked();
    s.AttTagIndex1 = ComboBox1->currentIndex();
    s.Sentou = CheckBox3->isChecked();
    s.UpperCase = CheckBox4->isChecked();
    s.Enter = CheckBox5->isChecked();
    s.ZoomCenter = CheckBox6->isChecked();
    s.AttEnter = CheckBox7->isChecked();
    s.AttEnterDown = CheckBox8->isChecked();
    return s;
}

void TTalvoMainForm::loadPickLists(int index1, int index2)
{
    QStringList tags = builtInTagList();
    if (auto file = readTextFile(m_files.readPath(kTagListFileName))) {
        tags = file->lines;
        m_tagListFormat = file->format;
    }
    fillPickList(ComboBox1, tags, index1);

    QStringList sets = builtInTagSets();
    if (auto file = readTextFile(m_files.readPath(kTagSetFileName)))
        sets = file->lines;
    fillPickList(ComboBox2, sets, index2);
}

void TTalvoMainForm::saveSettingsAndTagList()
{
    // Each write is reported on its own; a failed one never keeps the
    // window open nor stops the other.
    try {
        const QString path = m_files.readPath(m_files.iniFileName());
        IniDocument ini = IniDocument::load(path);
        writeSettings(ini, currentSettings());
        ini.save(m_files.writePath(m_files.iniFileName()));
    } catch (const std::exception &e) {
        ShowErrorReport(e);
    }
    try {
        writeTextFile(m_files.writePath(kTagListFileName), pickListItems(ComboBox1), m_tagListFormat);
    } catch (const std::exception &e) {
        ShowErrorReport(e);
    }
}

std::optional<QStringList> TTalvoMainForm::loadTargetCadList()
{
    auto file = readTextFile(m_files.readPath(kTargetCadFileName));
    if (!file)
        return std::nullopt;
    m_targetListFormat = file->format;
    return file->lines;
}

void TTalvoMainForm::saveTargetCadList(const QStringList &entries)
{
    try {
        writeTextFile(m_files.writePath(kTargetCadFileName), entries, m_targetListFormat);
    } catch (const std::exception &e) {
        ShowErrorReport(e);
    }
}

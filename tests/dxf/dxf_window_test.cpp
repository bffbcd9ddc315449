// The drawing window with DXF files, offscreen: open, save, the title's
// unsaved mark, the question before changes would be lost, a damaged
// file, and a dropped file. Message boxes are answered from a timer.
#include "cadhost/gui/drawingwindow.h"
#include "cadhost/host.h"
#include "cadhost/sampledrawing.h"

#include "dxf/drawingfile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <memory>

using namespace cadhost;
namespace fs = std::filesystem;

namespace {

const fs::path kDrawings = TALVO_DXF_DRAWINGS;

// Answers the next message box with `button` and keeps its text.
void answerNextBox(QMessageBox::StandardButton button, QString *text = nullptr)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, button, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->stop();
        timer->deleteLater();
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
    timer->start(10);
}

EntityId textId(const Drawing &d, std::u16string_view text)
{
    for (EntityId id : d.modelSpace())
        if (const Entity *e = d.entity(id); e && e->text == text)
            return id;
    return 0;
}

}  // namespace

class DxfWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openEditSaveAndTitleMark();
    void damagedFileReportsLineAndKeepsDrawing();
    void closingOrOpeningWithChangesAsks();
    void droppedFileOpens();
    void builtInDrawingSavesAsNewFile();

private:
    QString copyOf(const char *name);

    std::unique_ptr<Host> m_host;
    std::unique_ptr<DrawingWindow> m_window;
    fs::path m_dir;
};

void DxfWindowTest::init()
{
    m_dir = fs::path(TALVO_DXF_SCRATCH) / "window";
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    m_host = std::make_unique<Host>();
    buildSampleDrawing(m_host->drawing());
    m_window = std::make_unique<DrawingWindow>(*m_host);
    m_window->show();
}

void DxfWindowTest::cleanup()
{
    m_window.reset();
    m_host.reset();
}

QString DxfWindowTest::copyOf(const char *name)
{
    fs::copy_file(kDrawings / name, m_dir / name, fs::copy_options::overwrite_existing);
    return QString::fromStdString((m_dir / name).string());
}

void DxfWindowTest::openEditSaveAndTitleMark()
{
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("Drawing1.dwg")));
    const QString path = copyOf("r2010_utf8.dxf");
    QVERIFY(m_window->openFile(path));
    QCOMPARE(m_window->filePath(), path);
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("r2010_utf8.dxf[*]")));
    QVERIFY(!m_window->isWindowModified());
    Drawing &d = m_host->drawing();
    QVERIFY(!d.entityByHandle(u"1F"));  // the sample is gone
    const EntityId id = textId(d, u"右寄せ");
    QVERIFY(id);

    d.modify(id, u"TextString", [](Entity &e) { e.text = u"保存する文字"; });
    QTRY_VERIFY(m_window->isWindowModified());
    QVERIFY(m_window->save());
    QVERIFY(!m_window->isWindowModified());
    const std::string saved = dxf::readFile(path.toStdString());
    QVERIFY(saved.find("保存する文字") != std::string::npos);

    // Undo is a change too: the title marks it again.
    QVERIFY(d.undo());
    QTRY_VERIFY(m_window->isWindowModified());
    const QString other = QString::fromStdString((m_dir / "other.dxf").string());
    QVERIFY(m_window->saveAs(other));
    QCOMPARE(m_window->filePath(), other);
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("other.dxf")));
    QVERIFY(dxf::readFile(other.toStdString()).find("右寄せ") != std::string::npos);
}

void DxfWindowTest::damagedFileReportsLineAndKeepsDrawing()
{
    const std::string good = dxf::readFile(kDrawings / "r12_cp932.dxf");
    const fs::path bad = m_dir / "bad.dxf";
    {
        std::FILE *f = std::fopen(bad.string().c_str(), "wb");
        std::fwrite(good.data(), 1, good.size() / 3, f);
        std::fclose(f);
    }
    const std::uint64_t revision = m_host->drawing().revision();
    QString message;
    answerNextBox(QMessageBox::Ok, &message);
    QVERIFY(!m_window->openFile(QString::fromStdString(bad.string())));
    QVERIFY2(message.contains(QStringLiteral("bad.dxf を開けません")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("行 ")) && message.contains(QStringLiteral("が必要です")),
             qPrintable(message));
    QCOMPARE(m_host->drawing().revision(), revision);
    QVERIFY(m_host->drawing().entityByHandle(u"1F") || !m_host->drawing().modelSpace().empty());
    QVERIFY(m_window->filePath().isEmpty());
}

void DxfWindowTest::closingOrOpeningWithChangesAsks()
{
    const QString first = copyOf("r2010_utf8.dxf");
    const QString second = copyOf("r12_cp932.dxf");
    QVERIFY(m_window->openFile(first));
    Drawing &d = m_host->drawing();
    d.modify(textId(d, u"上中央"), u"TextString", [](Entity &e) { e.text = u"未保存"; });
    QTRY_VERIFY(m_window->isWindowModified());

    // Cancel: the window stays open and the host runs.
    QString question;
    answerNextBox(QMessageBox::Cancel, &question);
    QVERIFY(!m_window->close());
    QVERIFY(question.contains(QStringLiteral("r2010_utf8.dxf への変更を保存しますか")));
    QVERIFY(m_window->isVisible());
    QVERIFY(m_host->isRunning());

    // Opening another file: Save writes the first, then the second opens.
    answerNextBox(QMessageBox::Save);
    QVERIFY(m_window->openFile(second));
    QVERIFY(dxf::readFile(first.toStdString()).find("未保存") != std::string::npos);
    QCOMPARE(m_window->filePath(), second);

    // Discard on close: the file stays as it was.
    d.modify(textId(d, u"右寄せ"), u"TextString", [](Entity &e) { e.text = u"捨てる"; });
    const std::string before = dxf::readFile(second.toStdString());
    answerNextBox(QMessageBox::Discard);
    QVERIFY(m_window->close());
    QVERIFY(!m_host->isRunning());
    QVERIFY(dxf::readFile(second.toStdString()) == before);
}

void DxfWindowTest::droppedFileOpens()
{
    const QString path = copyOf("r12_cp932.dxf");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &drop);
    QTRY_COMPARE(m_window->filePath(), path);
    QVERIFY(textId(m_host->drawing(), u"Yen \\ sign ソ表"));

    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(m_window.get(), &refused);
    QVERIFY(!refused.isAccepted());
}

void DxfWindowTest::builtInDrawingSavesAsNewFile()
{
    Drawing &d = m_host->drawing();
    const EntityId stamp = textId(d, u"承認済");
    const std::u16string handle = d.entity(stamp)->handle;
    const QString path = QString::fromStdString((m_dir / "sample.dxf").string());
    QVERIFY(m_window->saveAs(path));
    QCOMPARE(m_window->filePath(), path);
    QVERIFY(!m_window->isWindowModified());
    // Opened from what was written: same handles, locked layer, attributes.
    const Entity *again = d.entityByHandle(handle);
    QVERIFY(again && again->text == u"承認済");
    QVERIFY(d.isOnLockedLayer(*again));
    int titleAttributes = 0;
    for (EntityId id : d.modelSpace())
        if (const Entity *e = d.entity(id); e->kind == EntityKind::Insert && e->blockName == u"FRAME_IFS")
            titleAttributes = int(e->attributes.size());
    QCOMPARE(titleAttributes, 14);
    const std::string bytes = dxf::readFile(path.toStdString());
    Drawing reread;
    dxf::DrawingFile f = dxf::DrawingFile::load(bytes, reread);
    QVERIFY(f.render(reread) == bytes);
}

QTEST_MAIN(DxfWindowTest)
#include "dxf_window_test.moc"

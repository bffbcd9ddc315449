// Every form's handlers run under the one guard: whatever error type a
// handler raises, the box shows the user's text and the program goes on.

#include "app/mainform.h"
#include "support/hostfixture.h"

#include "cad/qt/targetcadform.h"
#include "cadhost/gui/drawingwindow.h"
#include "tools/tool_error.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/qstr.h"

#include <QAction>
#include <QStatusBar>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

struct Box {
    QString caption, text;
};
QList<Box> g_boxes;
// When set, the next message box raises this instead of showing, as if
// the handler had failed at that point.
std::function<void()> g_raiseOnce;

void sink(const QString &caption, const QString &text)
{
    if (g_raiseOnce) {
        auto raise = std::move(g_raiseOnce);
        g_raiseOnce = nullptr;
        raise();
    }
    g_boxes.append({caption, text});
}

struct Case {
    const char *name;
    std::function<void()> raise;
    QString text;
};

std::vector<Case> cases()
{
    return {
        {"user", [] { throw base::UserError(u"図面を開けません"); }, QStringLiteral("図面を開けません")},
        {"cad", [] { throw cad::Error(u"図面がロックされています"); }, QStringLiteral("図面がロックされています")},
        {"tool", [] { throw tools::notAnIntegerError(u"A"); }, QStringLiteral("'A' は整数ではありません")},
        {"std", [] { throw std::runtime_error("disk full"); }, QStringLiteral("disk full")},
    };
}

}  // namespace

class ErrorBoxTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setMessageSink(sink); }
    void init()
    {
        g_boxes.clear();
        g_raiseOnce = nullptr;
    }

    void guardShowsEveryErrorTypesText()
    {
        QObject context;
        QAction action;
        for (const Case &c : cases()) {
            g_boxes.clear();
            auto connection = guardedConnect(&action, &QAction::triggered, &context, [&] { c.raise(); });
            action.trigger();
            QObject::disconnect(connection);
            QCOMPARE(g_boxes.size(), 1);
            QCOMPARE(g_boxes[0].caption, QStringLiteral("TalvoEditZ"));
            QCOMPARE(g_boxes[0].text, c.text);
        }
    }

    void mainWindowMenuHandler()
    {
        QTemporaryDir dir;
        TTalvoMainForm form(AppFiles::inDirectory(dir.path()));
        auto *version = form.findChild<QAction *>(QStringLiteral("N25"));
        QVERIFY(version);
        for (const Case &c : cases()) {
            g_boxes.clear();
            g_raiseOnce = c.raise;
            version->trigger();
            QCOMPARE(g_boxes.size(), 1);
            QCOMPARE(g_boxes[0].text, c.text);
        }
    }

    void targetCadDialogHandlers()
    {
        std::function<void()> raise;
        TTargetCADForm form([] { return std::optional<QStringList>(QStringList{}); },
                            [&](const QStringList &) { raise(); });
        form.FormShow();
        for (const Case &c : cases()) {
            g_boxes.clear();
            raise = c.raise;
            form.Edit1->setText(QStringLiteral("X"));
            form.Edit2->setText(QStringLiteral("X.Application"));
            form.SpeedButton1->click();  // 追加 writes the list file
            QCOMPARE(g_boxes.size(), 1);
            QCOMPARE(g_boxes[0].text, c.text);
        }
    }

    void textTabHandler()
    {
        HostBench hb;
        MainState state;
        QStatusBar bar;
        TextEditTab tab(state, &bar);
        hb.host.faults().failMember(u"ActiveDocument");
        tab.SpeedButton1->click();
        QCOMPARE(g_boxes.size(), 1);
        QVERIFY(!g_boxes[0].text.isEmpty());
        QVERIFY(!g_boxes[0].text.contains(QStringLiteral("Error")));
        QVERIFY(tab.SpeedButton1->isEnabled());
    }

    void drawingWindowActions()
    {
        HostBench hb;
        cadhost::DrawingWindow window(hb.host);
        const cadhost::EntityId t = hb.text(u"W-1", 0, 0);
        bool armed = false;
        std::function<void()> raise;
        hb.d.addObserver([&](cadhost::DrawingEvent e) {
            if (armed && e == cadhost::DrawingEvent::Entities) {
                armed = false;
                raise();
            }
        });
        auto *undo = window.findChild<QAction *>(QStringLiteral("undoAction"));
        for (const Case &c : cases()) {
            g_boxes.clear();
            {
                cad::Object d = hb.doc();
                cad::UndoMark mark(d);
                d.call(u"HandleToObject", {cad::Variant(hb.handle(t))})
                    .toObject()
                    .put(u"TextString", cad::Variant(u"X"));
                mark.close();
            }
            QTRY_VERIFY(undo->isEnabled());
            raise = c.raise;
            armed = true;
            undo->trigger();
            QCOMPARE(g_boxes.size(), 1);
            QCOMPARE(g_boxes[0].text, c.text);
        }
    }
};

QTEST_MAIN(ErrorBoxTest)
#include "errorbox_test.moc"

// With the fonts this machine has, no caption of the pages or dialogs is
// cut: a control whose text is wider than its design size has grown.

#include "app/mainform.h"

#include "cad/qt/targetcadform.h"
#include "textedit/gui/talvoattform.h"
#include "tools/gui/talvokasanform.h"
#include "tools/gui/talvorenbanform.h"
#include "tools/gui/talvotikanform.h"
#include "ui/captionfit.h"
#include "ui/fonts.h"

#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

class CaptionsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }

    void mainWindowPages()
    {
        QTemporaryDir dir;
        TTalvoMainForm form(AppFiles::inDirectory(dir.path()));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (int i = 0; i < form.PageControl1->count(); ++i) {
            form.PageControl1->setCurrentIndex(i);
            QWidget *page = form.PageControl1->widget(i);
            const QStringList cut = clippedCaptions(page);

            QVERIFY2(cut.isEmpty(), qPrintable(page->objectName() + QStringLiteral(": ") + cut.join(u' ')));
        }
    }

    void textToolAndTagListDialogs()
    {
        TTalvoTikanForm tikan;
        TTalvoKasanForm kasan;
        TTalvoRenbanForm renban;
        TTalvoAttForm att;
        for (QWidget *dialog : std::initializer_list<QWidget *>{&tikan, &kasan, &renban, &att}) {
            const QStringList cut = clippedCaptions(dialog);
            QVERIFY2(cut.isEmpty(), qPrintable(dialog->objectName() + QStringLiteral(": ") + cut.join(u' ')));
        }
    }

    void targetCadDialog()
    {
        TTargetCADForm form([] { return std::optional<QStringList>(); }, [](const QStringList &) {});
        form.FormShow();
        const QStringList cut = clippedCaptions(&form);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u' ')));
    }
};

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"

#include "ui/fonts.h"
#include "textedit/gui/lineeditor.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QVBoxLayout>

class LineEditorTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }

    void fontIsFixedPitchWithJapaneseGlyphs()
    {
        LineEditor e;
        QCOMPARE(e.font().family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(e.font().pixelSize(), 15);
        QFontMetrics m(e.font());
        QVERIFY(m.inFont(QChar(u'あ')));
        QVERIFY(m.inFont(QChar(u'漢')));
        QVERIFY(e.gutterWidth() > 0);
    }

    void linesAndTextUseCrLf()
    {
        LineEditor e;
        QCOMPARE(e.lineCount(), 0);
        QCOMPARE(e.text(), QString());
        e.setText(QStringLiteral("a\r\nb\r\n\r\n"));
        QCOMPARE(e.lines(), (QStringList{"a", "b", ""}));
        QCOMPARE(e.text(), QStringLiteral("a\r\nb\r\n\r\n"));
        e.addLine(QStringLiteral("c"));
        QCOMPARE(e.line(3), QStringLiteral("c"));
        e.clearLines();
        QCOMPARE(e.lineCount(), 0);
        e.addLine(QStringLiteral("x"));
        QCOMPARE(e.lines(), QStringList{"x"});
    }

    void replacingEverythingEmptiesHistoryAndResetsCaret()
    {
        LineEditor e;
        e.setLines({"abc", "def"});
        e.moveCursor(QTextCursor::End);
        QTest::keyClicks(&e, "xy");
        QVERIFY(e.canUndo());
        e.setLines({"1", "2", "3"});
        QVERIFY(!e.canUndo());
        QCOMPARE(e.caretLine(), 1);
        QCOMPARE(e.caretColumn(), 1);
    }

    void typingIsUndoneAsOneGroup()
    {
        LineEditor e;
        e.setLines({"a"});
        e.moveCursor(QTextCursor::End);
        QTest::keyClicks(&e, "hello");
        QCOMPARE(e.line(0), QStringLiteral("ahello"));
        e.undo();
        QCOMPARE(e.line(0), QStringLiteral("a"));
        QVERIFY(!e.canUndo());
    }

    void linesWrittenByTheProgramAreOneUndoStepPerBatch()
    {
        LineEditor e;
        e.setLines({"a", "b", "c"});
        QTest::keyClicks(&e, "z");
        e.beginUpdate();
        e.putLine(1, QStringLiteral("B"));
        e.putLine(2, QStringLiteral("C"));
        e.endUpdate();
        QCOMPARE(e.lines(), (QStringList{"za", "B", "C"}));
        e.undo();
        QCOMPARE(e.lines(), (QStringList{"za", "b", "c"}));
        e.undo();
        QCOMPARE(e.lines(), (QStringList{"a", "b", "c"}));
        e.putLine(0, QStringLiteral("single"));
        QVERIFY(e.canUndo());
        e.undo();
        QCOMPARE(e.line(0), QStringLiteral("a"));
    }

    void tabIsTypedAndFocusTraversalSkipsTheEditor()
    {
        QWidget w;
        auto *layout = new QVBoxLayout(&w);
        auto *before = new QLineEdit(&w);
        auto *e = new LineEditor(&w);
        auto *after = new QLineEdit(&w);
        layout->addWidget(before);
        layout->addWidget(e);
        layout->addWidget(after);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), after);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), e);
        QCOMPARE(e->line(0), QStringLiteral("\t"));
    }

    void ctrlKeysAreRoutedAndSwallowed()
    {
        LineEditor e;
        e.setLines({"abc"});
        QSignalSpy write(&e, &LineEditor::writeBackRequested);
        QSignalSpy copy(&e, &LineEditor::copyRequested);
        QSignalSpy cut(&e, &LineEditor::cutRequested);
        QApplication::clipboard()->setText(QStringLiteral("keep"));
        e.selectAll();
        QTest::keyClick(&e, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClick(&e, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(&e, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(write.count(), 1);
        QCOMPARE(copy.count(), 1);
        QCOMPARE(cut.count(), 1);
        QCOMPARE(e.lines(), QStringList{"abc"});
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("keep"));
        // Ctrl+V keeps the control's own paste.
        e.moveCursor(QTextCursor::End);
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.line(0), QStringLiteral("abckeep"));
    }

    void trailingSpacesGoFromLinesTheUserEdits()
    {
        LineEditor e;
        e.setLines({"abc  ", "kept  ", "x"});
        e.moveCursor(QTextCursor::EndOfBlock);
        QTest::keyClicks(&e, "d  ");
        QCOMPARE(e.line(0), QStringLiteral("abc  d"));  // read trimmed while the caret is still there
        QTest::keyClick(&e, Qt::Key_Down);
        QTest::keyClick(&e, Qt::Key_Down);
        QCOMPARE(e.lines(), (QStringList{"abc  d", "kept  ", "x"}));
        QCOMPARE(e.document()->firstBlock().text(), QStringLiteral("abc  d"));
        // Undo brings the spaces back on screen, yet the line still reads trimmed.
        e.undo();
        QCOMPARE(e.line(0), QStringLiteral("abc  d"));
        e.undo();
        QCOMPARE(e.document()->firstBlock().text(), QStringLiteral("abc  "));
    }

    void endGoesToTheContentThenToTheLineEnd()
    {
        LineEditor e;
        e.setLines({"ab  "});
        QTest::keyClick(&e, Qt::Key_End);
        QCOMPARE(e.caretColumn(), 3);
        QTest::keyClick(&e, Qt::Key_End);
        QCOMPARE(e.caretColumn(), 5);
    }

    void caretKeepsItsColumnAcrossShortLines()
    {
        LineEditor e;
        e.setLines({"abcdef", "ab", "abcdef"});
        e.setSelStart(4);
        QCOMPARE(e.caretColumn(), 5);
        QTest::keyClick(&e, Qt::Key_Down);
        QCOMPARE(e.caretColumn(), 3);
        QTest::keyClick(&e, Qt::Key_Down);
        QCOMPARE(e.caretLine(), 3);
        QCOMPARE(e.caretColumn(), 5);
    }

    void japaneseComesInThroughTheInputMethod()
    {
        LineEditor e;
        e.setLines({"A"});
        e.moveCursor(QTextCursor::End);
        QInputMethodEvent preedit(QStringLiteral("にほんご"), {});
        QApplication::sendEvent(&e, &preedit);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本語"));
        QApplication::sendEvent(&e, &commit);
        QCOMPARE(e.line(0), QStringLiteral("A日本語"));
        QVERIFY(e.testAttribute(Qt::WA_InputMethodEnabled));
    }

    void selectionIsReportedWithCrLf()
    {
        LineEditor e;
        e.setLines({"ab", "cd"});
        e.selectAll();
        QCOMPARE(e.selectedText(), QStringLiteral("ab\r\ncd"));
        QCOMPARE(e.selLength(), 6);
        e.setSelStart(4);
        QCOMPARE(e.caretLine(), 2);
        QCOMPARE(e.caretColumn(), 1);
        e.replaceSelection(QStringLiteral("X"));
        QCOMPARE(e.line(1), QStringLiteral("Xcd"));
        e.undo();
        QCOMPARE(e.line(1), QStringLiteral("cd"));
    }
};

QTEST_MAIN(LineEditorTest)
#include "lineeditor_test.moc"

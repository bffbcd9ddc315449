#include "textedit/gui/lineeditor.h"

#include "ui/fonts.h"

#include <QContextMenuEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString kFontFamily = QStringLiteral("ＭＳ ゴシック");
constexpr int kEditedLine = 1;  // QTextBlock::userState of a line the user changed

class Gutter : public QWidget {
public:
    explicit Gutter(LineEditor *editor) : QWidget(editor), m_editor(editor) {}
    QSize sizeHint() const override { return {m_editor->gutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent *e) override { m_editor->paintGutter(this, e); }

private:
    LineEditor *m_editor;
};

QFont editorFont(int pixels)
{
    QFont f = pixelFont(kFontFamily, pixels);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

// Trailing spaces a user leaves behind: ASCII spaces only; a typed tab
// and the ideographic space are content.
QString trimmedRight(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

QString toParagraphs(QString s)
{
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

}  // namespace

LineEditor::LineEditor(QWidget *parent) : QPlainTextEdit(parent)
{
    installFontSubstitutions();
    setFont(editorFont(15));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    setFocusPolicy(Qt::ClickFocus);  // Tab traversal skips the editor
    setAcceptDrops(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(u' ') * 8);

    m_gutter = new Gutter(this);
    m_gutter->setFont(editorFont(12));
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(gutterWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &LineEditor::updateGutter);
    connect(document(), &QTextDocument::contentsChange, this, &LineEditor::onContentsChange);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &LineEditor::onCursorMoved);
    setViewportMargins(gutterWidth(), 0, 0, 0);
}

// --- Line list --------------------------------------------------------------

int LineEditor::lineCount() const
{
    const QTextDocument *d = document();
    if (m_noLines && d->blockCount() == 1 && d->firstBlock().length() <= 1)
        return 0;
    return d->blockCount();
}

QString LineEditor::line(int i) const
{
    QTextBlock b = document()->findBlockByNumber(i);
    if (!b.isValid())
        return {};
    return b.userState() == kEditedLine ? trimmedRight(b.text()) : b.text();
}

QStringList LineEditor::lines() const
{
    QStringList out;
    const int n = lineCount();
    out.reserve(n);
    QTextBlock b = document()->firstBlock();
    for (int i = 0; i < n && b.isValid(); ++i, b = b.next())
        out << (b.userState() == kEditedLine ? trimmedRight(b.text()) : b.text());
    return out;
}

void LineEditor::putLine(int i, const QString &s)
{
    QTextBlock b = document()->findBlockByNumber(i);
    if (!b.isValid())
        return;
    ++m_programmatic;
    QTextCursor c(b);
    c.beginEditBlock();
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(toParagraphs(s));
    c.block().setUserState(-1);
    c.endEditBlock();
    --m_programmatic;
}

void LineEditor::addLine(const QString &s)
{
    ++m_programmatic;
    QTextCursor c(document());
    c.beginEditBlock();
    c.movePosition(QTextCursor::End);
    c.insertText(lineCount() == 0 ? toParagraphs(s) : QStringLiteral("\n") + toParagraphs(s));
    c.endEditBlock();
    m_noLines = false;
    --m_programmatic;
}

void LineEditor::insertLines(int index, const QStringList &lines)
{
    if (lines.isEmpty())
        return;
    QStringList ps;
    ps.reserve(lines.size());
    for (const QString &l : lines)
        ps << toParagraphs(l);
    const QString block = ps.join(u'\n');
    const int count = lineCount();
    ++m_programmatic;
    QTextCursor c(document());
    c.beginEditBlock();
    if (count == 0) {
        c.insertText(block);
    } else if (index >= count) {
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("\n") + block);
    } else {
        c.setPosition(document()->findBlockByNumber(std::max(index, 0)).position());
        c.insertText(block + QStringLiteral("\n"));
    }
    c.endEditBlock();
    --m_programmatic;
}

void LineEditor::clearLines()
{
    setLines({});
}

void LineEditor::setLines(const QStringList &lines)
{
    ++m_programmatic;
    QStringList ps;
    ps.reserve(lines.size());
    for (const QString &l : lines)
        ps << toParagraphs(l);
    setPlainText(ps.join(u'\n'));  // also empties the undo history
    m_noLines = lines.isEmpty();
    --m_programmatic;
    resetCaret();
}

QString LineEditor::text() const
{
    QString out;
    for (const QString &l : lines())
        out += l + QStringLiteral("\r\n");
    return out;
}

void LineEditor::setText(const QString &text)
{
    QString s = toParagraphs(text);
    if (s.endsWith(u'\n'))
        s.chop(1);
    ++m_programmatic;
    setPlainText(s);
    m_noLines = text.isEmpty();  // "\r\n" is one empty line
    --m_programmatic;
    resetCaret();
}

void LineEditor::beginUpdate()
{
    if (m_updateDepth++ == 0) {
        viewport()->setUpdatesEnabled(false);
        QTextCursor(document()).beginEditBlock();  // the batch is one undo step
    }
}

void LineEditor::endUpdate()
{
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    QTextCursor(document()).endEditBlock();
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
    m_gutter->update();
}

void LineEditor::resetCaret()
{
    QTextCursor c(document());
    c.movePosition(QTextCursor::Start);
    setTextCursor(c);
    m_caretBlock = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

// --- Selection -----------------------------------------------------------------

QString LineEditor::selectedText() const
{
    QString s = textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return s;
}

int LineEditor::selLength() const
{
    return int(selectedText().size());
}

void LineEditor::setSelStart(int position)
{
    // Positions count a line break as two characters (CR LF).
    int rest = std::max(position, 0);
    QTextBlock b = document()->firstBlock();
    while (b.isValid() && b.next().isValid() && rest > b.length() - 1 + 1) {
        rest -= b.length() - 1 + 2;
        b = b.next();
    }
    QTextCursor c(b);
    c.setPosition(b.position() + std::min(rest, b.length() - 1));
    setTextCursor(c);
}

void LineEditor::replaceSelection(const QString &s)
{
    ++m_programmatic;
    QTextCursor c = textCursor();
    c.beginEditBlock();
    c.insertText(toParagraphs(s));
    c.endEditBlock();
    setTextCursor(c);
    --m_programmatic;
}

void LineEditor::pasteFromClipboard()
{
    paste();
}

bool LineEditor::canUndo() const
{
    return document()->isUndoAvailable();
}

int LineEditor::caretLine() const
{
    return textCursor().blockNumber() + 1;
}

int LineEditor::caretColumn() const
{
    return textCursor().positionInBlock() + 1;
}

QColor LineEditor::backgroundColour() const
{
    return palette().color(QPalette::Base);
}

void LineEditor::setBackgroundColour(const QColor &c)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, c);
    setPalette(p);
}

// --- Editing the user does ---------------------------------------------------------

void LineEditor::onContentsChange(int position, int removed, int added)
{
    Q_UNUSED(removed);
    if (m_programmatic > 0)
        return;
    m_noLines = false;  // whatever the user did, the editor now shows a line
    QTextBlock b = document()->findBlock(position);
    QTextBlock last = document()->findBlock(position + added);
    while (b.isValid()) {
        b.setUserState(kEditedLine);
        if (b == last)
            break;
        b = b.next();
    }
}

void LineEditor::onCursorMoved()
{
    const int now = textCursor().blockNumber();
    if (now == m_caretBlock)
        return;
    const int left = m_caretBlock;
    m_caretBlock = now;
    trimBlock(left);
}

// A line the user edited loses its trailing spaces once the caret leaves
// it (one undo step of its own).
void LineEditor::trimBlock(int blockNumber)
{
    QTextBlock b = document()->findBlockByNumber(blockNumber);
    if (!b.isValid() || b.userState() != kEditedLine)
        return;
    const QString t = b.text();
    const QString trimmed = trimmedRight(t);
    if (trimmed.size() == t.size())
        return;
    ++m_programmatic;
    QTextCursor c(b);
    c.beginEditBlock();
    c.setPosition(b.position() + int(trimmed.size()));
    c.setPosition(b.position() + int(t.size()), QTextCursor::KeepAnchor);
    c.removeSelectedText();
    c.endEditBlock();
    --m_programmatic;
}

void LineEditor::keyPressEvent(QKeyEvent *e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (ctrl && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        e->accept();
        emit writeBackRequested();
        return;
    }
    if (ctrl && !(e->modifiers() & Qt::AltModifier)) {
        if (e->key() == Qt::Key_C) {
            e->accept();
            emit copyRequested();
            return;
        }
        if (e->key() == Qt::Key_X) {
            e->accept();
            emit cutRequested();
            return;
        }
    }
    if (e->key() == Qt::Key_End && !ctrl) {
        // Enhanced End: first to the end of the line's content, then to
        // the real end of the line.
        QTextCursor c = textCursor();
        const QString t = c.block().text();
        const int content = int(trimmedRight(t).size());
        const int target = c.positionInBlock() == content ? int(t.size()) : content;
        c.setPosition(c.block().position() + target,
                      (e->modifiers() & Qt::ShiftModifier) ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        setTextCursor(c);
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

bool LineEditor::event(QEvent *e)
{
    // Keep the keys the program routes away from window shortcuts.
    if (e->type() == QEvent::ShortcutOverride) {
        auto *k = static_cast<QKeyEvent *>(e);
        if ((k->modifiers() & Qt::ControlModifier)
            && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_C
                || k->key() == Qt::Key_X)) {
            e->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(e);
}

void LineEditor::contextMenuEvent(QContextMenuEvent *e)
{
    if (m_menu)
        m_menu->popup(e->globalPos());
    e->accept();
}

// --- Gutter --------------------------------------------------------------------------

int LineEditor::gutterWidth() const
{
    int digits = 1;
    for (int n = std::max(1, document()->blockCount()); n >= 10; n /= 10)
        ++digits;
    digits = std::max(digits, 3);
    return 8 + m_gutter->fontMetrics().horizontalAdvance(u'9') * digits;
}

void LineEditor::resizeEvent(QResizeEvent *e)
{
    QPlainTextEdit::resizeEvent(e);
    QRect cr = contentsRect();
    m_gutter->setGeometry(QRect(cr.left(), cr.top(), gutterWidth(), cr.height()));
}

void LineEditor::updateGutter(const QRect &rect, int dy)
{
    if (dy)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        setViewportMargins(gutterWidth(), 0, 0, 0);
}

void LineEditor::paintGutter(QWidget *gutter, QPaintEvent *event)
{
    QPainter p(gutter);
    p.fillRect(event->rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::PlaceholderText));
    QTextBlock b = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(b).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(b).height());
    const int w = gutter->width() - 4;
    while (b.isValid() && top <= event->rect().bottom()) {
        if (b.isVisible() && bottom >= event->rect().top())
            p.drawText(0, top, w, qRound(blockBoundingRect(b).height()), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(b.blockNumber() + 1));
        b = b.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(b).height());
    }
}

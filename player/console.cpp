// SPDX-License-Identifier: MIT
#include "console.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

namespace {

// A key the text box would type as text: a printable character or a tab,
// not a shortcut held with Control.
bool typesText(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers held = event->modifiers();
    if (held == Qt::ControlModifier || held == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && (text.front().isPrint() || text.front() == u'\t');
}

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// The keys that take text away before the caret or around it.
bool removes(QKeyEvent *event)
{
    const bool backspace = event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier);
    return backspace || event->matches(QKeySequence::Delete) || event->matches(QKeySequence::DeleteStartOfWord)
        || event->matches(QKeySequence::DeleteEndOfWord) || event->matches(QKeySequence::DeleteEndOfLine)
        || event->matches(QKeySequence::DeleteCompleteLine);
}

} // namespace

Console::Console(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

void Console::closeOutput()
{
    lineStart = document()->characterCount() - 1;
}

bool Console::inOutput() const
{
    return textCursor().selectionStart() < lineStart;
}

void Console::caretToEnd()
{
    moveCursor(QTextCursor::End);
}

void Console::removeTyped(QTextCursor cursor)
{
    const int from = std::max(cursor.selectionStart(), lineStart);
    const int to = cursor.selectionEnd();
    if (from >= to)
        return;
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void Console::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (inOutput()) {
        if (event->matches(QKeySequence::Cut)) {
            copy();
            event->accept();
            return;
        }
        if (removes(event)) {
            event->accept();
            return;
        }
        if (typesText(event) || isEnter(event))
            caretToEnd();
    } else if (!textCursor().hasSelection()) {
        // Only these reach back past the caret; where they would reach into
        // the game's text, they take the typed part alone.
        QTextCursor reach = textCursor();
        if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier))
            reach.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
        else if (event->matches(QKeySequence::DeleteStartOfWord))
            reach.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
        else if (event->matches(QKeySequence::DeleteCompleteLine))
            reach.select(QTextCursor::BlockUnderCursor);
        if (reach.hasSelection() && reach.selectionStart() < lineStart) {
            removeTyped(reach);
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void Console::inputMethodEvent(QInputMethodEvent *event)
{
    if (!isReadOnly() && inOutput() && (!event->commitString().isEmpty() || !event->preeditString().isEmpty()))
        caretToEnd();
    // An input method may replace text around the caret; never the game's.
    if (event->replacementLength() > 0 && textCursor().position() + event->replacementStart() < lineStart) {
        QInputMethodEvent typed(event->preeditString(), event->attributes());
        typed.setCommitString(event->commitString());
        QPlainTextEdit::inputMethodEvent(&typed);
        event->setAccepted(typed.isAccepted());
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

// Every paste comes here: the keys, the context menu, the middle button, and
// a drop, after the caret went where it was dropped.
void Console::insertFromMimeData(const QMimeData *source)
{
    if (inOutput())
        caretToEnd();
    QPlainTextEdit::insertFromMimeData(source);
}

void Console::mouseMoveEvent(QMouseEvent *event)
{
    // A drag of the game's text may leave the console, to be copied
    // elsewhere, but never moved: for as long as it lasts the text box
    // offers it as read-only.
    const Qt::TextInteractionFlags flags = textInteractionFlags();
    dragGuard = (event->buttons() & Qt::LeftButton) && (flags & Qt::TextEditable) && inOutput();
    if (dragGuard)
        setTextInteractionFlags(flags & ~Qt::TextEditable);
    QPlainTextEdit::mouseMoveEvent(event);
    if (dragGuard)
        setTextInteractionFlags(flags);
    dragGuard = false;
}

bool Console::ownDrag(const QDropEvent *event) const
{
    return event->source() == viewport() || event->source() == this;
}

bool Console::takesDrop(const QDropEvent *event) const
{
    return (!isReadOnly() || dragGuard) && event->mimeData()->hasText();
}

void Console::dragEnterEvent(QDragEnterEvent *event)
{
    if (!ownDrag(event)) {
        QPlainTextEdit::dragEnterEvent(event);
        return;
    }
    dragMoveEvent(event);
}

void Console::dragMoveEvent(QDragMoveEvent *event)
{
    if (!ownDrag(event)) {
        QPlainTextEdit::dragMoveEvent(event);
        return;
    }
    if (!takesDrop(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void Console::dropEvent(QDropEvent *event)
{
    if (!ownDrag(event)) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    // Text dragged within the console is copied where it is dropped, so
    // that the drag takes nothing away. The text box may be taking no input
    // while the drag lasts, so the text goes in here.
    if (!takesDrop(event)) {
        event->ignore();
        return;
    }
    QTextCursor at = cursorForPosition(event->position().toPoint());
    if (at.position() < lineStart)
        at.movePosition(QTextCursor::End);
    at.insertText(event->mimeData()->text());
    setTextCursor(at);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void Console::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu(event->pos());
    if (inOutput()) {
        for (QAction *action : menu->actions()) {
            if (action->objectName() == u"edit-cut" || action->objectName() == u"edit-delete")
                action->setEnabled(false);
        }
    }
    // The window's own commands follow the text box's.
    if (!actions().isEmpty()) {
        menu->addSeparator();
        menu->addActions(actions());
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

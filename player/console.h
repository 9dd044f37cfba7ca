// SPDX-License-Identifier: MIT
#pragma once

#include <QPlainTextEdit>

// The player's console: a text box that holds what the game wrote and, after
// it, the line the user types. As in a terminal, the game's text cannot be
// edited: a key, a paste or a drop aimed at it puts its text at the end of
// the line instead, and no key, cut or drag takes any of it away. The caret
// still goes anywhere, to select, copy and scroll. Actions added to it
// follow the text box's own in its context menu.
class Console : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit Console(QWidget *parent = nullptr);

    // Everything in the console now is the game's; what follows is typed.
    void closeOutput();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // The caret, or a part of the selection, lies in the game's text.
    bool inOutput() const;
    void caretToEnd();
    // Removes what the cursor selects from the typed line only.
    void removeTyped(QTextCursor cursor);
    // A drag started in the console: whatever it holds, it only copies.
    bool ownDrag(const QDropEvent *event) const;
    bool takesDrop(const QDropEvent *event) const;

    int lineStart = 0;
    // A drag of the game's text is under way, begun with the text box
    // taking no input, which a drop on it still puts in.
    bool dragGuard = false;
};

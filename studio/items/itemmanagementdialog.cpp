// SPDX-License-Identifier: MIT
#include "itemmanagementdialog.h"

#include "twips.h"

#include "itemletter.h"
#include "itemscommit.h"
#include "leveldocument.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>

#include <memory>

namespace {

// Rows are 240 twips (16 pixels) apart, less than the boxes are tall, so each
// box draws its frame in the top 17 pixels only: neighbouring rows then share
// one frame line and no box hides part of another.
constexpr int RowPixels = 17;

QRect pixels(const QRect &twips)
{
    return Twips::rect(twips.x(), twips.y(), twips.width(), twips.height());
}

int rowTop(int k)
{
    return 600 + 240 * (k - 1);
}

QString letter(int k)
{
    return QString(QChar(u'A' + k - 1));
}

QFont sansSerif(bool bold)
{
    return Twips::font({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial")},
                       8.25, bold);
}

// A paste may hand a one-line box a line break, which would split the item's
// line or the rule's line in the level file; each break becomes a space.
void keepOneLine(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        if (!text.contains(u'\n') && !text.contains(u'\r'))
            return;
        const int cursor = edit->cursorPosition();
        QString line = text;
        line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        line.replace(u'\r', u' ');
        line.replace(u'\n', u' ');
        edit->setText(line);
        edit->setCursorPosition(std::min<int>(cursor, line.size()));
    });
}

const QString BoxStyle = QStringLiteral(R"(
QLineEdit, QComboBox {
    border: 1px solid palette(mid);
    background: palette(base);
    padding: 0px 2px;
}
QLineEdit { margin-bottom: 2px; }
QComboBox { margin-bottom: 4px; }
QComboBox::drop-down {
    width: 11px;
    border: none;
    border-left: 1px solid palette(mid);
    background: palette(button);
}
QComboBox::down-arrow {
    image: url(:/items/downarrow.png);
    width: 7px;
    height: 4px;
}
QLineEdit:focus, QComboBox:focus { border-color: palette(highlight); }
)");

} // namespace

ItemManagementDialog::ItemManagementDialog(LevelDocument &document, QWidget *parent)
    : QDialog(parent)
    , document(document)
{
    setObjectName(QStringLiteral("ItemManagementDialog"));
    setWindowTitle(QStringLiteral("Item Management"));
    setModal(false);
    setFont(sansSerif(false));
    setStyleSheet(BoxStyle);
    setFixedSize(Twips::px(6120), Twips::px(7590));

    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    addLabel(QStringLiteral("Label79"), QStringLiteral("Item"), {720, 360, 3015, 255}, left, false);
    addLabel(QStringLiteral("Label80"), QStringLiteral("Created by using..."), {3840, 360, 1455, 255}, left, false);

    for (int k = 1; k <= Rows; ++k) {
        const int top = rowTop(k);
        addLabel(QStringLiteral("Label%1").arg(k), letter(k), {120, top, 495, 255}, Qt::AlignRight | Qt::AlignVCenter,
                 true);
        names[k - 1] = addNameBox(k, top);
        addLabel(QStringLiteral("Label%1").arg(Rows + k), QStringLiteral("="), {3840, top, 255, 255}, Qt::AlignCenter,
                 true);
        ingredients[k - 1] = addIngredientBox(k, 4200, top);
        addLabel(QStringLiteral("Label%1").arg(2 * Rows + k), QStringLiteral("+"), {4800, top, 255, 255},
                 Qt::AlignCenter, true);
        ingredients[Rows + k - 1] = addIngredientBox(Rows + k, 5160, top);
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setGeometry(pixels({4560, 7080, 1095, 375}));
    connect(ok, &QPushButton::clicked, this, &ItemManagementDialog::commit);

    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setGeometry(pixels({3480, 7080, 975, 375}));
    // Hiding is all "Cancel" does; the window's close button and Escape end
    // in the same place, so nothing typed is lost either way.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Names first, then "OK", then every first ingredient, every second
    // ingredient, and "Cancel" last.
    QList<QWidget *> order(names.cbegin(), names.cend());
    order << ok;
    order.append(QList<QWidget *>(ingredients.cbegin(), ingredients.cend()));
    order << cancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(&document, &LevelDocument::loaded, this, &ItemManagementDialog::fillFromDocument);
}

void ItemManagementDialog::addLabel(const QString &name, const QString &caption, const QRect &twips,
                                    Qt::Alignment alignment, bool bold)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setGeometry(pixels(twips));
    label->setAlignment(alignment);
    // A stand-in face wider than the intended one gets a smaller size rather
    // than a cut-off caption.
    QFont font = sansSerif(bold);
    while (QFontMetrics(font).horizontalAdvance(caption) > label->width() && font.pixelSize() > 8)
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

QLineEdit *ItemManagementDialog::addNameBox(int k, int top)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("Text%1").arg(k));
    // The row's letter and the heading over the column stand for the name
    // the eye reads off the form.
    box->setAccessibleName(QStringLiteral("Name of item %1").arg(letter(k)));
    box->setGeometry(pixels({720, top, 3015, 285}));
    box->setMask(QRegion(0, 0, box->width(), RowPixels));
    box->installEventFilter(this);
    keepOneLine(box);
    return box;
}

QComboBox *ItemManagementDialog::addIngredientBox(int n, int left, int top)
{
    auto *box = new QComboBox(this);
    box->setObjectName(QStringLiteral("Combo%1").arg(n));
    box->setEditable(true);
    // The list holds the 26 letters; what the author types stays in the box
    // only, exactly as typed.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    // The edit part would otherwise keep the desktop's larger font.
    box->lineEdit()->setFont(font());
    // The edit part is what takes the focus, so it carries the name too.
    const QString name = QStringLiteral("%1 ingredient of %2")
                             .arg(n <= Rows ? QStringLiteral("First") : QStringLiteral("Second"),
                                  letter(n <= Rows ? n : n - Rows));
    box->setAccessibleName(name);
    box->lineEdit()->setAccessibleName(name);
    keepOneLine(box->lineEdit());
    box->setGeometry(pixels({left, top, 495, 315}));
    box->setMask(QRegion(0, 0, box->width(), RowPixels));
    box->installEventFilter(this);
    return box;
}

bool ItemManagementDialog::eventFilter(QObject *watched, QEvent *event)
{
    // The box being edited comes to the top, so its highlighted frame shows
    // whole over the frame line it shares with the rows around it.
    if (event->type() == QEvent::FocusIn) {
        if (auto *box = qobject_cast<QWidget *>(watched))
            box->raise();
    }
    return QDialog::eventFilter(watched, event);
}

void ItemManagementDialog::buildcombo(int, const Combo &rule)
{
    pending.push_back(rule);
}

void ItemManagementDialog::commit()
{
    std::array<Text, Rows> typed;
    for (int k = 1; k <= Rows; ++k)
        typed[k - 1] = names[k - 1]->text().toStdU32String();

    pending.clear();
    for (int k = 1; k <= Rows; ++k) {
        const std::optional<Combo> rule =
            Combo::fromRow(ingredients[k - 1]->currentText().toStdU32String(),
                           ingredients[Rows + k - 1]->currentText().toStdU32String(), ItemLetter::of(k - 1));
        if (rule)
            buildcombo(k, *rule);
    }
    auto edit = std::make_unique<ItemsCommit>(document, typed, pending, [this] { showDocumentItems(); });
    if (history)
        history->push(edit.release());
    else
        edit->redo();
    accept();
}

void ItemManagementDialog::fillFromDocument()
{
    const Level &level = document.level();
    for (int i = 0; i < level.mapSections; ++i)
        addLetters();
    for (int n = 1; n <= Rows; ++n) {
        const Text &name = level.items[n - 1];
        if (!name.empty())
            setItemName(n, QString::fromStdU32String(name));
    }
    showRules(level.combos);
}

void ItemManagementDialog::showRules(const std::vector<Combo> &rules)
{
    // A later rule for the same result shows over an earlier one; both stay
    // in the document.
    for (const Combo &combo : rules) {
        if (const int item = ItemLetter::item(combo.result); item >= 0) {
            auto letter = [](char32_t c) { return c == 0 ? QString() : QString::fromUcs4(&c, 1); };
            setIngredients(item + 1, letter(combo.first), letter(combo.second));
        }
    }
}

void ItemManagementDialog::setHistory(QUndoStack *stack)
{
    history = stack;
}

void ItemManagementDialog::showDocumentItems()
{
    for (int n = 1; n <= Rows; ++n)
        setItemName(n, QString::fromStdU32String(document.itemnames()[n - 1]));
    for (int k = 1; k <= Rows; ++k)
        setIngredients(k, QString(), QString());
    showRules(document.combotable());
}

void ItemManagementDialog::setItemName(int n, const QString &name)
{
    if (n < 1 || n > Rows)
        return;
    names[n - 1]->setText(name);
    // A long name shows from its beginning.
    names[n - 1]->setCursorPosition(0);
}

void ItemManagementDialog::addLetters()
{
    QStringList letters;
    for (int k = 1; k <= Rows; ++k)
        letters << letter(k);
    for (QComboBox *box : ingredients) {
        // A list that was empty would select its first new entry and so put
        // "A" into the box; the box keeps the text it had.
        const QString text = box->currentText();
        box->addItems(letters);
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

void ItemManagementDialog::setIngredients(int k, const QString &first, const QString &second)
{
    if (k < 1 || k > Rows)
        return;
    ingredients[k - 1]->setEditText(first);
    ingredients[Rows + k - 1]->setEditText(second);
}

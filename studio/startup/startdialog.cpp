// SPDX-License-Identifier: MIT
#include "startdialog.h"

#include "levelreader.h"
#include "platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>


namespace {

const QString ExtensionQuestion = QStringLiteral(
    "It is reccomended that you end the file with the '.qw' extension. Do you want me to add it?");
const QString NoName = QStringLiteral("You must choose a file name!");

// Spaces only, as everywhere a level's texts are trimmed.
QString trimSpaces(const QString &text)
{
    return QString::fromStdU32String(Text(text::trimSpaces(text.toStdU32String())));
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption)
{
    auto *made = new QLabel(caption, parent);
    made->setObjectName(name);
    return made;
}

} // namespace

StartDialog::StartDialog(Platform &platform, QWidget *parent)
    : QDialog(parent)
    , platform(platform)
{
    setObjectName(QStringLiteral("StartDialog"));
    setWindowTitle(QStringLiteral("Quillmoor Studio"));
    QLayout *introduction = buildIntroduction();
    auto *prompt = label(this, QStringLiteral("Label1"),
                         QStringLiteral("Enter name of level file (*.qw) to edit/create:"));
    QLayout *entry = buildNameEntry(prompt);
    QLayout *buttons = buildContinue();
    arrange(introduction, prompt, entry, buttons);
    fileName->setFocus();
}

QLayout *StartDialog::buildIntroduction()
{
    auto *picture = label(this, QStringLiteral("Image1"), QString());
    // Drawn when the studio was built: drawing it here would cost the start
    // as much as all the rest of the dialog.
    picture->setPixmap(QPixmap(QStringLiteral(":/startup/mapsample.bmp")));
    picture->setAlignment(Qt::AlignTop);

    auto *title = label(this, QStringLiteral("Label2"), QStringLiteral("Quillmoor Studio"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.9);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto *about = label(this, QStringLiteral("Label3"),
                        QStringLiteral("Build text adventures on a map of 9 by 9 locations: write what the player "
                                       "sees, link the paths, hide the items, and try the level in the player "
                                       "as soon as it is saved."));
    about->setWordWrap(true);

    auto *hint = label(this, QStringLiteral("Label4"),
                       QStringLiteral("Type the name of an existing level to edit it, or a new name to start "
                                      "an empty level. Version 1.0."));
    hint->setWordWrap(true);
    QPalette muted = hint->palette();
    muted.setColor(QPalette::WindowText, muted.color(QPalette::PlaceholderText));
    hint->setPalette(muted);

    auto *words = new QVBoxLayout;
    words->addWidget(title);
    words->addSpacing(4);
    words->addWidget(about);
    words->addSpacing(8);
    words->addWidget(hint);
    words->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(words, 1);
    return top;
}

QLayout *StartDialog::buildNameEntry(QLabel *prompt)
{
    fileName = new QLineEdit(this);
    fileName->setObjectName(QStringLiteral("Text1"));
    fileName->setMinimumWidth(300);
    prompt->setBuddy(fileName);
    fileName->setAccessibleName(prompt->text());

    auto *browseButton = new QPushButton(QStringLiteral("..."), this);
    browseButton->setObjectName(QStringLiteral("Command2"));
    browseButton->setToolTip(QStringLiteral("Choose a level file"));
    // "..." read aloud says nothing of what the button does.
    browseButton->setAccessibleName(QStringLiteral("Browse for a level file"));
    browseButton->setFixedWidth(browseButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    browseButton->setAutoDefault(false);
    connect(browseButton, &QPushButton::clicked, this, &StartDialog::browse);

    auto *entry = new QHBoxLayout;
    entry->addWidget(fileName, 1);
    entry->addWidget(browseButton);
    return entry;
}

QLayout *StartDialog::buildContinue()
{
    auto *continueButton = new QPushButton(QStringLiteral("Continue"), this);
    continueButton->setObjectName(QStringLiteral("Command1"));
    continueButton->setDefault(true);
    connect(continueButton, &QPushButton::clicked, this, &StartDialog::openLevel);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(continueButton);
    return buttons;
}

void StartDialog::arrange(QLayout *introduction, QLabel *prompt, QLayout *entry, QLayout *buttons)
{
    auto *all = new QVBoxLayout(this);
    all->setContentsMargins(16, 16, 16, 16);
    all->addLayout(introduction);
    all->addSpacing(14);
    all->addWidget(prompt);
    all->addLayout(entry);
    all->addSpacing(6);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);
}

MapWindow &StartDialog::buildMap()
{
    if (!map)
        map = std::make_unique<MapWindow>(platform);
    return *map;
}

bool StartDialog::isfile(const QString &filename)
{
    QFile file(filename);
    return file.open(QIODevice::ReadOnly);
}

void StartDialog::browse()
{
    const QString chosen
        = platform.openFile(this, QStringLiteral("Open a document..."), QStringLiteral("Quillmoor Studio files (*.qw)"));
    // A cancelled dialog leaves whatever the author had typed.
    if (!chosen.isEmpty())
        fileName->setText(QDir::toNativeSeparators(chosen));
}

void StartDialog::openLevel()
{
    offerExtension();
    open(fileName->text());
}

bool StartDialog::openFromCommandLine(const QString &path)
{
    fileName->setText(path);
    // The question is about naming a new file: a file that is there is
    // opened under the name it has, as a file manager hands it over, and
    // adding ".qw" would open another, new level in its place.
    if (!QFileInfo::exists(trimSpaces(path)))
        offerExtension();
    return open(fileName->text());
}

void StartDialog::offerExtension()
{
    if (!fileName->text().toLower().contains(QLatin1String(".qw")) && platform.ask(this, ExtensionQuestion))
        fileName->setText(trimSpaces(fileName->text()) + QStringLiteral(".qw"));
}

bool StartDialog::open(const QString &typed)
{
    const QString name = trimSpaces(typed);
    if (name.isEmpty()) {
        platform.inform(this, NoName);
        return false;
    }

    QString problem;
    bool unread = false;
    if (isfile(name)) {
        MapWindow &map = buildMap();
        map.document().levelfile = name;
        map.setLevelCaption(QStringLiteral("Level: ") + typed);
        problem = map.document().loadgame(name, &unread);
    } else if (QFileInfo(name).isDir()) {
        platform.inform(this, QStringLiteral("\"%1\" is a folder, not a level file. Please choose a file name.")
                                  .arg(QDir::toNativeSeparators(name)));
        return false;
    } else if (QFileInfo::exists(name)) {
        // Taking it for a new level would let the first save replace a file
        // that could not even be read.
        QFile file(name);
        file.open(QIODevice::ReadOnly);
        platform.inform(this, QStringLiteral("The level file \"%1\" exists but cannot be read: %2.\n"
                                             "Please choose another file, or make this one readable.")
                                  .arg(QDir::toNativeSeparators(name), file.errorString()));
        return false;
    } else {
        MapWindow &map = buildMap();
        map.document().levelfile = name;
        map.setLevelCaption(name);
    }

    map->show();
    hide();
    LevelDocument &document = map->document();
    if (document.replacesNonLevel()) {
        // Said at once, so the author does not take the empty map for the
        // file's level. A fault the reader stopped at, such as a header it
        // cannot read, follows: the file may be a level gone wrong.
        QString note = QString::fromStdString(LevelReader::notALevel(document.levelfile.toStdString()));
        if (!problem.isEmpty())
            note += QStringLiteral("\n\n") + problem;
        platform.inform(map.get(), note + QStringLiteral("\n\nThe map is empty. Saving asks before it replaces the "
                                                         "file with a level."));
    } else if (!problem.isEmpty()) {
        const QString consequence
            = unread ? QStringLiteral("The studio shows what it could read before that point. Saving replaces the "
                                      "file with only that part.")
                     : QStringLiteral("The studio has read the whole file all the same; saving writes the level "
                                      "with that empty line in place.");
        platform.inform(map.get(), problem + QStringLiteral("\n\n") + consequence);
    }
    return true;
}

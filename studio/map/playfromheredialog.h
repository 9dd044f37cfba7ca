// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"
#include "level.h"
#include "text.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;

// "Play from Here": which of the level's named items the player carries when
// the game begins at a location, none ticked at first, and, when the player's
// language file holds several, in which language it is played (the first at
// first). The map window starts the player when the author presses OK.
class PlayFromHereDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PlayFromHereDialog(QWidget *parent = nullptr);

    // Shows the dialog for a location, with a check box for each item that
    // has a name, and the language box when languages holds more than one.
    void ask(GridRef at, const std::array<Text, Level::ItemCount> &names, const QStringList &languages);

    GridRef location() const { return at; }
    // Bit n for item n (0 = A) ticked.
    std::uint32_t carried() const;
    // 1 for the first language.
    int language() const;

private:
    GridRef at;
    QLabel *prompt = nullptr;
    QGridLayout *itemGrid = nullptr;
    std::array<QCheckBox *, Level::ItemCount> items{};
    QLabel *languageLabel = nullptr;
    QComboBox *languages = nullptr;
};

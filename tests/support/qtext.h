// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

#include <QString>
#include <QStringList>
#include <QTest>

// The core holds text as char32_t strings and messages as UTF-8; the tests
// write their expectations as QString. These convert at that edge.
inline Text toText(const QString &text)
{
    return text.toStdU32String();
}

inline QString toQString(TextView text)
{
    return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

inline QString toQString(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// QCOMPARE prints both sides of a failed comparison of core texts.
namespace QTest {
template<>
inline char *toString(const Text &text)
{
    return QTest::toString(toQString(text));
}
} // namespace QTest

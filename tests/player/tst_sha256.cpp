// SPDX-License-Identifier: MIT
#include "sha256.h"

#include <QCryptographicHash>
#include <QTest>

// The digest against the published test vectors and against Qt's, for every
// length around the block size, fed at once and in uneven pieces.
class TestSha256 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void digest_data();
    void digest();
};

void TestSha256::digest_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected"); // empty: Qt's digest

    QTest::newRow("empty") << QByteArray() << QByteArray("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    QTest::newRow("two blocks")
        << QByteArray("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")
        << QByteArray("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    QTest::newRow("a million a") << QByteArray(1000000, 'a')
                                 << QByteArray("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    for (int size : {1, 54, 55, 56, 57, 63, 64, 65, 119, 120, 127, 128, 129, 1000}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = char(i * 131 + 7);
        QTest::addRow("%d bytes", size) << bytes << QByteArray();
    }
}

void TestSha256::digest()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    if (expected.isEmpty())
        expected = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    const std::string_view all(bytes.constData(), std::size_t(bytes.size()));
    QCOMPARE(QByteArray::fromStdString(Sha256::hex(all)), expected);
    Sha256 pieces;
    for (std::size_t at = 0, step = 1; at < all.size(); at += step, step = step * 3 % 97 + 1)
        pieces.add(all.substr(at, step));
    QCOMPARE(QByteArray::fromStdString(pieces.hex()), expected);
}

QTEST_APPLESS_MAIN(TestSha256)
#include "tst_sha256.moc"

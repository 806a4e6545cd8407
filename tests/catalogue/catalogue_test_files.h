#pragma once

// Files and colours shared by the catalogue tests.

#include "workspace_state.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace verdalis {

// A custom detection file with three systems, as the program writes it.
inline const QByteArray ThreeSystems("3\r\n\"Spot\",\"120\",\"45\",\"30\"\r\n"
                                     "\"Rust\",\"200\",\"100\",\"0\"\r\n"
                                     "\"Blight\",\"90\",\"60\",\"20\"\r\n");

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

inline QString rgb(const Rgb &c)
{
    return QStringLiteral("%1,%2,%3").arg(c.red).arg(c.green).arg(c.blue);
}

} // namespace verdalis

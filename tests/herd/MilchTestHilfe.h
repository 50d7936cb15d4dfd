#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

// Saves a window's picture under the build folder (screenshots/), for a look by eye.
inline void Bildschirmfoto(QWidget& fenster, const QString& name)
{
    const QString ordner = QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
    QDir().mkpath(ordner);
    EXPECT_TRUE(fenster.grab().save(ordner + QLatin1Char('/') + name));
}

#pragma once

#include <FEinrichtung.h>

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <ProgInit.h>

#include <ZRcxGridDBTableView.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

// Drives the setup wizard as a user does, in a data home of its own.
class EinrichtungTest : public ::testing::Test {
protected:
    static void Klick(QAbstractButton* knopf)
    {
        ASSERT_TRUE(knopf);
        ASSERT_TRUE(knopf->isVisible() && knopf->isEnabled()) << knopf->text().toStdString();
        QTest::mouseClick(knopf, Qt::LeftButton);
        QApplication::processEvents();
    }
    static void Weiter(QWizard& w) { Klick(w.button(QWizard::NextButton)); }
    static void Zurueck(QWizard& w) { Klick(w.button(QWizard::BackButton)); }

    static void Tippen(QLineEdit* edit, const QString& text)
    {
        ASSERT_TRUE(edit);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    template <class T>
    static T* Feld(QWidget& w, const char* name)
    {
        T* feld = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(feld) << name;
        return feld;
    }
    template <class T>
    static T* Knopf(QWidget& w, const char* name)
    {
        return Feld<T>(w, name);
    }

    // The texts of a grid's rows in one column, found by its title.
    static QStringList Spalte(QAbstractItemView* view, const QString& titel)
    {
        QStringList werte;
        QAbstractItemModel* m = view->model();
        for (int spalte = 0; spalte < m->columnCount(); ++spalte) {
            if (m->headerData(spalte, Qt::Horizontal).toString() != titel)
                continue;
            for (int zeile = 0; zeile < m->rowCount(); ++zeile)
                werte << m->index(zeile, spalte).data().toString().trimmed();
        }
        return werte;
    }
    // Makes the row that shows the text current.
    static bool ZeileWaehlen(QAbstractItemView* view, const QString& text)
    {
        QAbstractItemModel* m = view->model();
        for (int zeile = 0; zeile < m->rowCount(); ++zeile)
            for (int spalte = 0; spalte < m->columnCount(); ++spalte)
                if (m->index(zeile, spalte).data().toString().trimmed() == text) {
                    view->setCurrentIndex(m->index(zeile, spalte));
                    return true;
                }
        return false;
    }

    static TProgInit::Umgebung ProgrammUmgebung()
    {
        TProgInit::Umgebung u = TProgInit::StandardUmgebung();
        // A plain start: no reminder list, the splash for its second of the real clock.
        u.argumente = {};
        u.benutzerName = [] { return QStringLiteral("tester"); };
        return u;
    }

    QTemporaryDir tmp;
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", tmp.path().toLocal8Bit()};
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
    QString datenordner = tmp.path() + QStringLiteral("/Bovantis/");
};

#include "Bildschirmfoto.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

QString Name(const QWidget* w)
{
    QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                             : w->objectName();
    QString text;
    if (const auto* l = qobject_cast<const QLabel*>(w))
        text = l->text();
    else if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        text = b->text();
    if (!text.isEmpty())
        name += " \"" + text.simplified().left(40) + "\"";
    return name;
}

QString OhneKuerzel(QString text)
{
    text.replace("&&", QChar(0x1));
    text.remove('&');
    text.replace(QChar(0x1), '&');
    return text;
}

// Why the text of `w` does not show whole, or nothing when it does.
QString Abgeschnitten(const QWidget* w)
{
    const QRect innen = w->contentsRect();
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->text().isEmpty())
            return {};
        const bool rich = l->textFormat() == Qt::RichText ||
                          (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
        if (l->wordWrap() || rich) {
            const int noetig = l->heightForWidth(w->width());
            if (l->wordWrap() && noetig > w->height())
                return QString("braucht %1 Punkte Höhe, hat %2").arg(noetig).arg(w->height());
            if (!l->wordWrap() && l->sizeHint().width() > w->width())
                return QString("braucht %1 Punkte Breite, hat %2")
                    .arg(l->sizeHint().width())
                    .arg(w->width());
            return {};
        }
        const QSize text =
            l->fontMetrics().boundingRect(QRect(), Qt::TextShowMnemonic, l->text()).size();
        const int rand = 2 * l->margin() + (l->indent() > 0 ? l->indent() : 0);
        if (text.width() + rand > innen.width())
            return QString("braucht %1 Punkte Breite, hat %2")
                .arg(text.width() + rand)
                .arg(innen.width());
        if (l->fontMetrics().height() > innen.height() + 2)
            return QString("braucht %1 Punkte Höhe, hat %2")
                .arg(l->fontMetrics().height())
                .arg(innen.height());
        return {};
    }
    const auto* b = qobject_cast<const QAbstractButton*>(w);
    if (!b || b->text().isEmpty())
        return {};
    const QSize text = b->fontMetrics().boundingRect(QRect(), 0, OhneKuerzel(b->text())).size();
    int noetig = 0;
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
        noetig = b->sizeHint().width();
    } else if (qobject_cast<const QPushButton*>(w)) {
        noetig = text.width() + 8;
        if (!b->icon().isNull())
            noetig += b->iconSize().width() + 4;
    } else {
        return {};
    }
    if (noetig > w->width())
        return QString("braucht %1 Punkte Breite, hat %2").arg(noetig).arg(w->width());
    if (text.height() > w->height())
        return QString("braucht %1 Punkte Höhe, hat %2").arg(text.height()).arg(w->height());
    return {};
}

// Controls a user sees and reaches, as opposed to panels and the parts Qt builds them from.
bool IstBedienelement(const QWidget* w)
{
    if (w->isWindow() || w->objectName().startsWith("qt_"))
        return false;
    const QWidget* p = w->parentWidget();
    if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
        qobject_cast<const QTabBar*>(p) || qobject_cast<const QAbstractScrollArea*>(p))
        return false;
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QGroupBox*>(w) ||
           qobject_cast<const QTabWidget*>(w) || qobject_cast<const QSlider*>(w) ||
           qobject_cast<const QProgressBar*>(w);
}

void Pruefen(QWidget& fenster, const QString& name)
{
    QStringList fehler;
    QList<QWidget*> elemente;
    for (QWidget* w : fenster.findChildren<QWidget*>()) {
        if (w->isVisibleTo(&fenster) && IstBedienelement(w))
            elemente << w;
    }
    for (QWidget* w : elemente) {
        if (const QString grund = Abgeschnitten(w); !grund.isEmpty())
            fehler << "Text abgeschnitten: " + Name(w) + " (" + grund + ")";
        // Content bigger than its parent is scrolled in it (a viewport's text), and a text that the
        // code moves inside a plain area without a layout is a ticker that the area clips.
        const QWidget* eltern = w->parentWidget();
        const bool ticker = qobject_cast<const QLabel*>(w) && !eltern->layout() &&
                            eltern->metaObject() == &QWidget::staticMetaObject;
        const bool gerollt = w->width() > eltern->width() || w->height() > eltern->height() ||
                             ticker ||
                             qobject_cast<const QAbstractScrollArea*>(eltern->parentWidget());
        if (!gerollt && !eltern->rect().contains(w->geometry()))
            fehler << "Ragt aus " + Name(eltern) + " heraus: " + Name(w);
    }
    // A label without text is a picture or nothing (the toolbar's background): controls may lie on
    // it.
    const auto hintergrund = [](const QWidget* w) {
        const auto* l = qobject_cast<const QLabel*>(w);
        return l && l->text().isEmpty();
    };
    for (int i = 0; i < elemente.size(); ++i) {
        for (int j = i + 1; j < elemente.size(); ++j) {
            const QWidget* a = elemente[i];
            const QWidget* b = elemente[j];
            if (a->parentWidget() == b->parentWidget() && !hintergrund(a) && !hintergrund(b) &&
                a->geometry().intersects(b->geometry()))
                fehler << "Überdeckt sich: " + Name(a) + " / " + Name(b);
        }
    }
    EXPECT_TRUE(fehler.isEmpty()) << name.toStdString() << ":\n  "
                                  << fehler.join("\n  ").toStdString();
}

}  // namespace

QString Bildschirmfotoordner()
{
    const QString ordner = QStringLiteral(BOVANTIS_SCREENSHOT_DIR);
    QDir().mkpath(ordner);
    return ordner;
}

void Bildschirmfoto(QWidget& fenster, const QString& name)
{
    // Layouts and size changes wait as posted events; the picture shows them done.
    QCoreApplication::sendPostedEvents();
    const QString datei = QDir(Bildschirmfotoordner()).filePath(name);
    EXPECT_TRUE(fenster.grab().save(datei)) << datei.toStdString();
    Pruefen(fenster, name);
}

void BildSpeichern(const QImage& bild, const QString& name)
{
    const QString datei = QDir(Bildschirmfotoordner()).filePath(name);
    EXPECT_TRUE(bild.save(datei)) << datei.toStdString();
}

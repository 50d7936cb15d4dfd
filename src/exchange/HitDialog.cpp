#include "HitDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

QStyle::StandardPixmap Symbol(int typ)
{
    switch (typ) {
        case 0:
            return QStyle::SP_MessageBoxWarning;
        case 1:
            return QStyle::SP_MessageBoxCritical;
        case 2:
            return QStyle::SP_MessageBoxInformation;
        default:
            return QStyle::SP_MessageBoxQuestion;
    }
}

QString Titel(int typ)
{
    switch (typ) {
        case 0:
            return QStringLiteral("Warnung");
        case 1:
            return QStringLiteral("Fehler");
        case 2:
            return QStringLiteral("Information");
        case 3:
            return QStringLiteral("Bestätigung");
        default:
            return QApplication::applicationDisplayName();
    }
}

}  // namespace

THITDialog::THITDialog(const QString& meldung, int typ, THITKnoepfe knoepfe, QWidget* owner)
    : TZRDialog(owner)
{
    setPosition(poScreenCenter);
    setWindowTitle(Titel(typ));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const QFontMetrics fm(font());
    const int zeichenBreite = fm.horizontalAdvance(QStringLiteral(
                                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                              52;
    const int zeichenHoehe = fm.height();
    const int randH = 8 * zeichenBreite / 4;
    const int randV = 8 * zeichenHoehe / 8;
    const int abstandH = 10 * zeichenBreite / 4;
    const int abstandV = 10 * zeichenHoehe / 8;

    auto* haupt = new QVBoxLayout(this);
    haupt->setContentsMargins(randH, randV, randH, randV);
    haupt->setSpacing(abstandV);
    auto* oben = new QHBoxLayout;
    oben->setSpacing(abstandH);
    if (typ >= 0 && typ <= 3) {
        auto* bild = new QLabel(this);
        bild->setObjectName(QStringLiteral("Image"));
        bild->setPixmap(style()->standardIcon(Symbol(typ), nullptr, this).pixmap(32, 32));
        bild->setFixedSize(32, 32);
        oben->addWidget(bild, 0, Qt::AlignTop);
    }
    auto* text = new QLabel(meldung, this);
    text->setObjectName(QStringLiteral("Message"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    // Long messages wrap at half the screen's width.
    const QScreen* schirm = screen() ? screen() : QApplication::primaryScreen();
    const int maxBreite = schirm ? schirm->availableGeometry().width() / 2 : 400;
    text->setMaximumWidth(maxBreite);
    text->setMinimumWidth(std::min(maxBreite, fm.horizontalAdvance(meldung)));
    text->setMinimumHeight(std::max(32, zeichenHoehe));
    oben->addWidget(text, 1);
    haupt->addLayout(oben);

    auto* reihe = new QHBoxLayout;
    reihe->setSpacing(4 * zeichenBreite / 4);
    reihe->addStretch(1);
    const struct {
        THITKnopf knopf;
        const char* name;
        QString caption;
        int ergebnis;
        QPushButton** ziel;
    } knopfTabelle[] = {
        {hkRichtig, "Richtig", QStringLiteral("Richtig"), 4, &richtig_},
        {hkAendern, "Andern", QStringLiteral("Ändern"), 1, &aendern_},
        {hkVerwerfen, "Verwerfen", QStringLiteral("Verwerfen"), 2, &verwerfen_},
        {hkTrennen, "Trennen", QStringLiteral("Verbindung trennen"), 3, &trennen_},
    };
    int breite = 50 * zeichenBreite / 4;
    for (const auto& k : knopfTabelle)
        if (knoepfe & k.knopf)
            breite = std::max(breite, fm.horizontalAdvance(k.caption) + 8 + 12);
    for (const auto& k : knopfTabelle) {
        if (!(knoepfe & k.knopf))
            continue;
        auto* b = new QPushButton(k.caption, this);
        b->setObjectName(QString::fromLatin1(k.name));
        b->setAutoDefault(false);
        b->setMinimumWidth(breite);
        const int ergebnis = k.ergebnis;
        connect(b, &QPushButton::clicked, this, [this, ergebnis] { done(ergebnis); });
        reihe->addWidget(b);
        *k.ziel = b;
    }
    reihe->addStretch(1);
    haupt->addLayout(reihe);
    if (richtig_) {
        richtig_->setDefault(true);
        richtig_->setFocus();
    }
    haupt->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* THITDialog::Knopf(THITKnopf knopf) const
{
    switch (knopf) {
        case hkRichtig:
            return richtig_;
        case hkAendern:
            return aendern_;
        case hkVerwerfen:
            return verwerfen_;
        case hkTrennen:
            return trennen_;
    }
    return nullptr;
}

void THITDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (aendern_)
            aendern_->click();
        event->accept();
        return;
    }
    TZRDialog::keyPressEvent(event);
}

THITDialog* HITDialogErzeugen(const QString& meldung, int typ, THITKnoepfe knoepfe, QWidget* owner)
{
    return new THITDialog(meldung, typ, knoepfe, owner);
}

int HITDialogZeigen(const QString& meldung, int typ, THITKnoepfe knoepfe, QWidget* owner)
{
    std::unique_ptr<THITDialog> dialog(HITDialogErzeugen(meldung, typ, knoepfe, owner));
    return dialog->exec();
}

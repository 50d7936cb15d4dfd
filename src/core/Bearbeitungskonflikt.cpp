#include "Bearbeitungskonflikt.h"

#include <MeldungDialog.h>

#include <QApplication>
#include <QPushButton>

namespace Bearbeitungskonflikt {

db::ConflictAnswer Fragen(const db::UpdateConflict& konflikt)
{
    QString text = konflikt.deleted ? QStringLiteral(
                                          "Der Datensatz wurde inzwischen an einem anderen "
                                          "Arbeitsplatz gelöscht.")
                                    : QStringLiteral(
                                          "Der Datensatz wurde inzwischen an einem anderen "
                                          "Arbeitsplatz geändert.");
    if (!konflikt.changed.isEmpty())
        text += QStringLiteral("\rGeändert: %1").arg(konflikt.changed.join(QStringLiteral(", ")));
    text += QStringLiteral(
        "\r\rNeu laden: den gespeicherten Stand anzeigen, Ihre Änderungen "
        "verwerfen.");
    if (konflikt.overwritable)
        text += QStringLiteral(
            "\rÜberschreiben: Ihre Eingaben speichern, die Änderungen des "
            "anderen Arbeitsplatzes gehen verloren.");
    text += QStringLiteral("\rAbbrechen: nichts speichern und weiter bearbeiten.");

    Tools::TMsgDlgButtons knoepfe = Tools::Btn(Tools::mbYes) | Tools::Btn(Tools::mbCancel);
    if (konflikt.overwritable)
        knoepfe |= Tools::Btn(Tools::mbNo);
    QApplication::beep();
    Tools::TMeldungDialog box(text, Tools::mtConfirmation, knoepfe, 0);
    const QList<QPushButton*>& k = box.pushButtons();
    k.at(0)->setText(QStringLiteral("Neu laden"));
    if (konflikt.overwritable)
        k.at(1)->setText(QStringLiteral("Überschreiben"));
    box.setDefaultButton(Tools::DefaultButton(int(k.size()) - 1));
    switch (box.run()) {
        case Tools::mrYes:
            return db::ConflictAnswer::Reload;
        case Tools::mrNo:
            return db::ConflictAnswer::Overwrite;
        default:
            return db::ConflictAnswer::Cancel;
    }
}

void Einrichten()
{
    db::SetConflictHandler(&Fragen);
}

}  // namespace Bearbeitungskonflikt

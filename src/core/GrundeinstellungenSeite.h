#pragma once

#include "FGrundeinstellungenDaten.h"

#include <DBFloatEdit.h>

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TEinstellungen;
class TZRPropGrid;

// A page of the settings dialog. The dialog loads every page (workstation values first, inside
// a bracket that never writes the file), checks every page before it stores any, then stores the
// farm-wide values of every page in one settings bracket, commits its transaction and writes the
// workstation values last.
class TGrundeinstellungenSeite : public QWidget {
    Q_OBJECT
public:
    using TGrundKat = GrundeinstellungenDaten::TGrundKat;

    TGrundeinstellungenSeite(TGrundKat kategorie, TGrundeinstellungenDaten& daten);

    TGrundKat Kategorie() const { return kategorie_; }

    // The workstation's values from the INI file.
    virtual void IniLaden() {}
    // The farm-wide values and the dialog's data.
    virtual void Laden() {}
    // False, after showing the page and a message naming the field, when an entry is refused.
    virtual bool Pruefen();
    // The farm-wide values into the open settings bracket, records into the dialog's
    // transaction; false when a record was refused (its message was shown).
    virtual bool Speichern() { return true; }
    // The workstation's values into the INI file's open bracket.
    virtual void IniSpeichern() {}
    // What lies outside the database and the INI file, after both were written.
    virtual void AusserhalbSpeichern() {}
    // The page became the shown one.
    virtual void Gezeigt() {}
    // Another page is to be shown; false keeps this one.
    virtual bool Verlassen() { return true; }

signals:
    // The page wants to be shown (to point at a refused entry).
    void ZeigenGewuenscht(TGrundeinstellungenSeite* seite);

protected:
    TEinstellungen& E() const { return daten_.Einstellungen(); }
    TGrundeinstellungenDaten& Daten() const { return daten_; }

    // A number edit (no empty value) that Pruefen checks in the order made; `feldname` names it
    // in the message.
    TDBFloatEdit* Zahl(const QString& name, const QString& feldname, int digits, long double min,
                       long double max);
    // Checks the page's number edits.
    bool ZahlenPruefen();
    void Zeigen() { emit ZeigenGewuenscht(this); }

    QPushButton* Knopf(const QString& text, const QString& name, const QString& hinweis = {});
    QCheckBox* Schalter(const QString& text, const QString& name);
    QLineEdit* Text(const QString& name);
    QComboBox* Auswahl(const QString& name, const QStringList& eintraege = {});
    QLabel* Beschriftung(const QString& text, QWidget* parent = nullptr);
    // A property grid in place of `altes` (or appended to `ort`): its rows cannot be removed, so
    // another set of rows gets a grid of its own.
    static TZRPropGrid* NeuesGitter(QVBoxLayout* ort, TZRPropGrid* altes, const QString& name,
                                    const QString& titel, const QString& werte);
    static int Zahlwert(const TDBFloatEdit* edit);

private:
    struct ZahlFeld {
        TDBFloatEdit* edit;
        QString name;
    };

    TGrundKat kategorie_;
    TGrundeinstellungenDaten& daten_;
    std::vector<ZahlFeld> zahlen_;
};

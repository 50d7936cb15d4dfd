#pragma once

#include <BesamungFunc.h>

#include <ZRDialog.h>

#include <QList>
#include <QString>

class QComboBox;
class QPushButton;

// What the station chooser offers: every station of the table whose code is not excluded.
class TBesamungsstationWahl {
public:
    // Codes separated by ";"; forced: the user may not leave without a choice.
    void Vorbereiten(const QString& ausser, bool erzwungen);

    const QList<BesamungFunc::StationsEintrag>& Eintraege() const { return eintraege_; }
    bool OkMoeglich() const { return !eintraege_.isEmpty(); }
    // A forced choice with nothing to choose from would trap the user, so cancelling stays
    // possible then.
    bool AbbrechenMoeglich() const { return !erzwungen_ || eintraege_.isEmpty(); }
    bool Erzwungen() const { return erzwungen_; }
    // The code of the offered entry at this position; empty when there is none.
    QString Code(int position) const;

private:
    QList<BesamungFunc::StationsEintrag> eintraege_;
    bool erzwungen_ = false;
};

class TfrmBesamungsstation : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmBesamungsstation(QWidget* owner = nullptr);

    void Vorbereiten(const QString& ausser, bool erzwungen);
    // The code chosen with "Ok"; empty before.
    const QString& Station() const { return station_; }

    QComboBox* Auswahl() const { return auswahl_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TBesamungsstationWahl wahl_;
    QString station_;
    QComboBox* auswahl_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};

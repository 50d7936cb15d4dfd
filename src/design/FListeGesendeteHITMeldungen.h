#pragma once

#include <FListeNormal.h>

class QAction;

// The list window of the sent HIT reports, with the deletion of log entries.
class TfrmListeGesendeteHITMeldungen : public TfrmListeNormal {
    Q_OBJECT
public:
    explicit TfrmListeGesendeteHITMeldungen(db::Database& datenbank, QWidget* parent = nullptr);

    QAction* actEintragLoeschen;
    QAction* actAlleEintraegeLoeschen;

    // After a question, deletes the current row's log entry; committed at once.
    void EintragLoeschen();
    // After a question, deletes the log entry of every shown row.
    void AlleEintraegeLoeschen();
    void AktionenAktualisieren();

private:
    void Loeschen(const QList<int>& ids);
};
